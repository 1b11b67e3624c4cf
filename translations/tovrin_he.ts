<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="he_IL">
<context>
    <name>ContactCommands</name>
    <message>
        <source>Import Contacts...</source>
        <translation>ייבוא אנשי קשר...</translation>
    </message>
    <message>
        <source>Import Contacts</source>
        <translation>ייבוא אנשי קשר</translation>
    </message>
    <message>
        <source>Contacts (*.vcf *.vcard *.csv *.txt *.mdb *.accdb);;All files (*)</source>
        <translation>אנשי קשר (*.vcf *.vcard *.csv *.txt *.mdb *.accdb);;כל הקבצים (*)</translation>
    </message>
    <message>
        <source>Export This Book...</source>
        <translation>ייצוא הספר הזה...</translation>
    </message>
    <message>
        <source>Export Both Books...</source>
        <translation>ייצוא שני הספרים...</translation>
    </message>
    <message>
        <source>Print This Book...</source>
        <translation>הדפסת הספר הזה...</translation>
    </message>
    <message>
        <source>Save This Book as PDF...</source>
        <translation>שמירת הספר הזה כ־PDF...</translation>
    </message>
    <message>
        <source>Importing contacts...</source>
        <translation>מייבא אנשי קשר...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>ביטול</translation>
    </message>
    <message>
        <source>Import of %1 and %2</source>
        <translation>ייבוא: %1, %2</translation>
    </message>
    <message numerus="yes">
        <source>%n Entries</source>
        <translation>
            <numerusform>רשומה אחת</numerusform>
            <numerusform>%n רשומות</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Messages</source>
        <translation>
            <numerusform>הודעה אחת</numerusform>
            <numerusform>%n הודעות</numerusform>
        </translation>
    </message>
    <message>
        <source>Imported %1 and %2.</source>
        <translation>הייבוא הסתיים: %1, %2.</translation>
    </message>
    <message numerus="yes">
        <source>%n entries</source>
        <translation>
            <numerusform>רשומה אחת</numerusform>
            <numerusform>%n רשומות</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n messages</source>
        <translation>
            <numerusform>הודעה אחת</numerusform>
            <numerusform>%n הודעות</numerusform>
        </translation>
    </message>
    <message>
        <source>vCard 3.0 (*.vcf)</source>
        <translation>vCard 3.0 (*.vcf)</translation>
    </message>
    <message>
        <source>vCard 2.1, for older phones (*.vcf)</source>
        <translation>vCard 2.1, לטלפונים ישנים (*.vcf)</translation>
    </message>
    <message>
        <source>vCard 4.0 (*.vcf)</source>
        <translation>vCard 4.0 (*.vcf)</translation>
    </message>
    <message>
        <source>CSV, UTF-8 (*.csv)</source>
        <translation>CSV, UTF-8 (*.csv)</translation>
    </message>
    <message>
        <source>CSV for Google Contacts (*.csv)</source>
        <translation>CSV לאנשי הקשר של Google (*.csv)</translation>
    </message>
    <message>
        <source>CSV for Outlook (*.csv)</source>
        <translation>CSV ל־Outlook (*.csv)</translation>
    </message>
    <message>
        <source>Personal and Business</source>
        <translation>אישי ועסקי</translation>
    </message>
    <message>
        <source>Export Both Books</source>
        <translation>ייצוא שני הספרים</translation>
    </message>
    <message>
        <source>Export %1</source>
        <translation>ייצוא ספר %1</translation>
    </message>
    <message numerus="yes">
        <source>Exported %n entries to %1.</source>
        <translation>
            <numerusform>רשומה אחת יוצאה אל %1.</numerusform>
            <numerusform>%n רשומות יוצאו אל %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportPreview</name>
    <message>
        <source>%1

Nothing was imported.</source>
        <translation>%1

לא יובא דבר.</translation>
    </message>
    <message>
        <source>Nothing in the chosen files can be imported.

%1</source>
        <translation>אין בקבצים שנבחרו דבר שאפשר לייבא.

%1</translation>
    </message>
    <message>
        <source>Import Contacts</source>
        <translation>ייבוא אנשי קשר</translation>
    </message>
    <message>
        <source>Text without a named encoding is read as:</source>
        <translation>טקסט שלא צוין בו קידוד ייקרא בקידוד:</translation>
    </message>
    <message>
        <source>Numbers without a country code are dialled in:</source>
        <translation>מספרים ללא קידומת מדינה מחויגים במדינה:</translation>
    </message>
    <message>
        <source>The system names no country, so the numbers of this import are read in none: numbers with a country code are left out until the country is chosen above.</source>
        <translation>במערכת לא מוגדרת מדינה, ולכן המספרים בייבוא הזה אינם משויכים לשום מדינה: מספרים עם קידומת מדינה יושמטו עד שתבחרו מדינה למעלה.</translation>
    </message>
    <message>
        <source>Columns of %1 (its header, its first row)</source>
        <translation>העמודות של %1 (שורת הכותרות והשורה הראשונה)</translation>
    </message>
    <message>
        <source>Columns of %1 (its first row)</source>
        <translation>העמודות של %1 (השורה הראשונה)</translation>
    </message>
    <message>
        <source>Column %1 of %2</source>
        <translation>עמודה %1 של %2</translation>
    </message>
    <message>
        <source>Entries to import</source>
        <translation>רשומות לייבוא</translation>
    </message>
    <message>
        <source>Import the entries already in the directory as well</source>
        <translation>לייבא גם רשומות שכבר נמצאות במדריך</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>ייבוא</translation>
    </message>
    <message>
        <source>Save List...</source>
        <translation>שמירת הרשימה...</translation>
    </message>
    <message>
        <source>Save the List</source>
        <translation>שמירת הרשימה</translation>
    </message>
    <message>
        <source>Text (*.txt)</source>
        <translation>טקסט (*.txt)</translation>
    </message>
</context>
<context>
    <name>LogFilterBar</name>
    <message>
        <source>Open only</source>
        <translation>פתוחות בלבד</translation>
    </message>
    <message>
        <source>Open Only</source>
        <translation>פתוחות בלבד</translation>
    </message>
    <message>
        <source>From, To or message</source>
        <translation>מאת, אל או תוכן ההודעה</translation>
    </message>
    <message>
        <source>Everyone</source>
        <translation>כולם</translation>
    </message>
    <message>
        <source>For:</source>
        <translation>עבור:</translation>
    </message>
    <message>
        <source>Find:</source>
        <translation>חיפוש:</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>חיפוש</translation>
    </message>
    <message>
        <source>For</source>
        <translation>עבור</translation>
    </message>
    <message>
        <source>Find in Messages...</source>
        <translation>חיפוש בהודעות...</translation>
    </message>
    <message>
        <source>Show All Messages</source>
        <translation>הצגת כל ההודעות</translation>
    </message>
    <message>
        <source>Find in Messages</source>
        <translation>חיפוש בהודעות</translation>
    </message>
    <message>
        <source>Show the messages whose From, To or text holds:</source>
        <translation>הצגת ההודעות שבשדה מאת, בשדה אל או בתוכן שלהן מופיע:</translation>
    </message>
</context>
<context>
    <name>MessageCommands</name>
    <message>
        <source>Export Messages...</source>
        <translation>ייצוא ההודעות...</translation>
    </message>
    <message>
        <source>Print Messages...</source>
        <translation>הדפסת ההודעות...</translation>
    </message>
    <message>
        <source>Save Messages as PDF...</source>
        <translation>שמירת ההודעות כ־PDF...</translation>
    </message>
    <message>
        <source>Export Messages</source>
        <translation>ייצוא ההודעות</translation>
    </message>
    <message>
        <source>CSV, UTF-8 (*.csv)</source>
        <translation>CSV, UTF-8 (*.csv)</translation>
    </message>
    <message>
        <source>Messages</source>
        <translation>הודעות</translation>
    </message>
    <message numerus="yes">
        <source>Exported %n messages to %1.</source>
        <translation>
            <numerusform>הודעה אחת יוצאה אל %1.</numerusform>
            <numerusform>%n הודעות יוצאו אל %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MessageMarks</name>
    <message>
        <source>Call Back</source>
        <translation>לחזור למתקשר</translation>
    </message>
    <message>
        <source>Urgent</source>
        <translation>דחוף</translation>
    </message>
    <message>
        <source>Mark Done</source>
        <translation>סימון כטופלה</translation>
    </message>
    <message>
        <source>Mark Open</source>
        <translation>סימון כפתוחה</translation>
    </message>
    <message>
        <source>No Call Back</source>
        <translation>אין צורך לחזור</translation>
    </message>
    <message>
        <source>Not Urgent</source>
        <translation>לא דחוף</translation>
    </message>
</context>
<context>
    <name>MessageReader</name>
    <message>
        <source>Done on %1 by %2</source>
        <translation>טופלה ב־%1 על ידי %2</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>טופלה</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>פתוחה</translation>
    </message>
    <message>
        <source>Please call back</source>
        <translation>נא לחזור למתקשר</translation>
    </message>
    <message>
        <source>Urgent</source>
        <translation>דחוף</translation>
    </message>
    <message>
        <source>Business</source>
        <translation>עסקי</translation>
    </message>
    <message>
        <source>Personal</source>
        <translation>אישי</translation>
    </message>
    <message>
        <source>Message from %1</source>
        <translation>הודעה מאת %1</translation>
    </message>
    <message>
        <source>From: %1</source>
        <translation>מאת: %1</translation>
    </message>
    <message>
        <source>To: %1</source>
        <translation>אל: %1</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>הודעה</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Call %1 %2</source>
        <translation>חיוג: %1 %2</translation>
    </message>
    <message>
        <source>Open Entry</source>
        <translation>פתיחת הרשומה</translation>
    </message>
    <message>
        <source>No program on this computer takes telephone numbers (tel: links), so %1 could not be called from here.</source>
        <translation>אין במחשב הזה תוכנה שמקבלת מספרי טלפון (קישורי tel:), ולכן אי אפשר לחייג מכאן אל %1.</translation>
    </message>
</context>
<context>
    <name>PreviewEntries</name>
    <message>
        <source>%1 &quot;%2&quot;: %3</source>
        <translation>%1 &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <source>Already in the directory: skipped unless checked</source>
        <translation>כבר נמצאת במדריך: לא תיובא אלא אם תסמנו אותה</translation>
    </message>
    <message>
        <source>%1 (already there)</source>
        <translation>%1 (כבר קיימת)</translation>
    </message>
    <message>
        <source>Book</source>
        <translation>ספר</translation>
    </message>
    <message>
        <source>Last Name</source>
        <translation>שם משפחה</translation>
    </message>
    <message>
        <source>First Name</source>
        <translation>שם פרטי</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>חברה</translation>
    </message>
    <message>
        <source>Numbers</source>
        <translation>מספרים</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>כתובת</translation>
    </message>
    <message>
        <source>Problems</source>
        <translation>בעיות</translation>
    </message>
</context>
<context>
    <name>ResultLines</name>
    <message>
        <source>Item not found in this collection: %1.</source>
        <translation>הפריט לא נמצא באוסף הזה: %1.</translation>
    </message>
    <message>
        <source>Address : %1</source>
        <translation>כתובת : %1</translation>
    </message>
    <message>
        <source>Cellular : %1</source>
        <translation>נייד : %1</translation>
    </message>
    <message>
        <source>Telephone  : %1  /  %2</source>
        <translation>טלפון  : %1  /  %2</translation>
    </message>
    <message>
        <source>Fax        : %1</source>
        <translation>פקס    : %1</translation>
    </message>
</context>
<context>
    <name>frmAdd</name>
    <message>
        <source>Save</source>
        <translation>שמירה</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>ביטול</translation>
    </message>
    <message>
        <source>First</source>
        <translation>שם פרטי</translation>
    </message>
    <message>
        <source>Telephone 1</source>
        <translation>טלפון 1</translation>
    </message>
    <message>
        <source>Cellular</source>
        <translation>נייד</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>פקס</translation>
    </message>
    <message>
        <source>Telephone 2</source>
        <translation>טלפון 2</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>שם משפחה</translation>
    </message>
    <message>
        <source>Tovrin Type</source>
        <translation>סוג הספר</translation>
    </message>
    <message>
        <source>Business Name</source>
        <translation>שם העסק</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>כתובת</translation>
    </message>
    <message>
        <source>City</source>
        <translation>עיר</translation>
    </message>
    <message>
        <source>Zip</source>
        <translation>מיקוד</translation>
    </message>
    <message>
        <source>State</source>
        <translation>מחוז</translation>
    </message>
    <message>
        <source>Name / Business</source>
        <translation>שם / עסק</translation>
    </message>
    <message>
        <source>Add New Name / Business</source>
        <translation>הוספת שם / עסק חדש</translation>
    </message>
    <message>
        <source>Business</source>
        <translation>עסקי</translation>
    </message>
    <message>
        <source>Personal</source>
        <translation>אישי</translation>
    </message>
    <message>
        <source>Saved %1 in the %2 book.</source>
        <translation>%1 נשמרה בספר %2.</translation>
    </message>
    <message>
        <source>an entry without a name</source>
        <translation>רשומה ללא שם</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Last</source>
        <translation>משפחה</translation>
    </message>
    <message>
        <source>First</source>
        <translation>פרטי</translation>
    </message>
    <message>
        <source>Tel - 1</source>
        <translation>טל&apos; - 1</translation>
    </message>
    <message>
        <source>Tel - 2</source>
        <translation>טל&apos; - 2</translation>
    </message>
    <message>
        <source>Cellular</source>
        <translation>נייד</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>פקס</translation>
    </message>
    <message>
        <source>Business</source>
        <translation>עסק</translation>
    </message>
    <message>
        <source>Tovrin Directory</source>
        <translation>מדריך Tovrin</translation>
    </message>
    <message>
        <source>12 Harbour Road</source>
        <translation>דרך הנמל 12</translation>
    </message>
    <message>
        <source>Haifa 3303112</source>
        <translation>חיפה 3303112</translation>
    </message>
    <message>
        <source>Tel 04 - 8123456</source>
        <translation>טל&apos; 04 - 8123456</translation>
    </message>
    <message>
        <source>Fax 04 - 8123457</source>
        <translation>פקס 04 - 8123457</translation>
    </message>
    <message>
        <source>Type Here Words or Numbers for Search</source>
        <translation>הקלידו כאן מילים או מספרים לחיפוש</translation>
    </message>
    <message>
        <source>Personal  -  Tovrin</source>
        <translation>אישי  -  Tovrin</translation>
    </message>
    <message>
        <source>Business  -  Tovrin</source>
        <translation>עסקי  -  Tovrin</translation>
    </message>
    <message>
        <source>Pirsomet</source>
        <translation>פרסומת</translation>
    </message>
    <message>
        <source>Search Option</source>
        <translation>חיפוש חופשי</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>תוצאות</translation>
    </message>
    <message>
        <source>Choose Telephone Book</source>
        <translation>בחירת ספר טלפונים</translation>
    </message>
    <message>
        <source>All</source>
        <translation>הכול</translation>
    </message>
    <message>
        <source>Letter %1</source>
        <translation>האות %1</translation>
    </message>
    <message>
        <source>All letters</source>
        <translation>כל האותיות</translation>
    </message>
    <message>
        <source>Messages</source>
        <translation>הודעות</translation>
    </message>
    <message>
        <source>Add New Number</source>
        <translation>הוספת מספר חדש</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>יציאה</translation>
    </message>
    <message>
        <source>Open Entry...</source>
        <translation>פתיחת הרשומה...</translation>
    </message>
    <message>
        <source>No entry holds &quot;%1&quot;.</source>
        <translation>אין רשומה שמכילה &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>1 entry holds &quot;%1&quot;.</source>
        <translation>רשומה אחת מכילה &quot;%1&quot;.</translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries hold &quot;%1&quot;.</source>
        <translation>
            <numerusform>רשומה אחת מכילה &quot;%1&quot;.</numerusform>
            <numerusform>%Ln רשומות מכילות &quot;%1&quot;.</numerusform>
        </translation>
    </message>
    <message>
        <source>Business</source>
        <comment>the book</comment>
        <translation>עסקי</translation>
    </message>
    <message>
        <source>Personal</source>
        <comment>the book</comment>
        <translation>אישי</translation>
    </message>
</context>
<context>
    <name>frmMes</name>
    <message>
        <source>Add New Message</source>
        <translation>הוספת הודעה חדשה</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>סגירה</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>תאריך</translation>
    </message>
    <message>
        <source>From</source>
        <translation>מאת</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>שעה</translation>
    </message>
    <message>
        <source>To</source>
        <translation>אל</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>הודעה</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>שמירה</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>ביטול</translation>
    </message>
    <message>
        <source>Messages</source>
        <translation>הודעות</translation>
    </message>
    <message>
        <source>Read Message...</source>
        <translation>קריאת ההודעה...</translation>
    </message>
    <message>
        <source>Saved the message.</source>
        <translation>ההודעה נשמרה.</translation>
    </message>
    <message>
        <source>Saved the message from %1.</source>
        <translation>ההודעה מאת %1 נשמרה.</translation>
    </message>
    <message>
        <source>M  e  s  s  a  g  e  s</source>
        <translation>ה  ו  ד  ע  ו  ת</translation>
    </message>
</context>
</TS>
