<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="he_IL">
<context>
    <name>About</name>
    <message>
        <source>Tovrin %1
A telephone directory with a telephone-message pad.

Released under the MIT licence.

The directory file:
%2

Its backup copies:
%3</source>
        <translation>Tovrin %1
מדריך טלפונים עם פנקס הודעות טלפוניות.

מופץ ברישיון MIT.

קובץ המדריך:
%2

העתקי הגיבוי שלו:
%3</translation>
    </message>
    <message>
        <source>About Tovrin</source>
        <translation>אודות Tovrin</translation>
    </message>
</context>
<context>
    <name>AccessConversion</name>
    <message>
        <source>Convert &quot;%1&quot;</source>
        <translation>המרת &quot;%1&quot;</translation>
    </message>
    <message>
        <source>The texts of this old data file are in a code page of their own. Choose the encoding in which the names below read right; they are converted in it.</source>
        <translation>הטקסטים בקובץ הנתונים הישן הזה שמורים בקידוד משלהם. יש לבחור את הקידוד שבו השמות שלמטה נקראים נכון; ההמרה תיעשה בו.</translation>
    </message>
    <message>
        <source>Texts of the file</source>
        <translation>הטקסטים שבקובץ</translation>
    </message>
    <message>
        <source>The conversion of &quot;%1&quot; that was cut short has been finished. The old file is kept unchanged as &quot;%2&quot;.</source>
        <translation>ההמרה של &quot;%1&quot;, שנקטעה באמצע, הושלמה. הקובץ הישן נשמר ללא שינוי בשם &quot;%2&quot;.</translation>
    </message>
</context>
<context>
    <name>BackupCommands</name>
    <message>
        <source>&quot;%1&quot; was restored from &quot;%2&quot;. The file as it was before is kept as &quot;%3&quot;.

Undo does not take a restore back: to go back, restore that copy.</source>
        <translation>&quot;%1&quot; שוחזר מתוך &quot;%2&quot;. הקובץ כפי שהיה לפני כן נשמר בשם &quot;%3&quot;.

ביטול פעולה אינו מבטל שחזור: כדי לחזור, יש לשחזר את ההעתק הזה.</translation>
    </message>
    <message>
        <source>Restored from &quot;%1&quot;; the file as it was before is kept as &quot;%2&quot;.</source>
        <translation>שוחזר מתוך &quot;%1&quot;; הקובץ כפי שהיה לפני כן נשמר בשם &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Other File...</source>
        <translation>קובץ אחר...</translation>
    </message>
    <message>
        <source>There are no backup copies yet in %1.</source>
        <translation>עדיין אין העתקי גיבוי ב-%1.</translation>
    </message>
    <message>
        <source>Restore a Backup</source>
        <translation>שחזור מגיבוי</translation>
    </message>
    <message>
        <source>Directory files (*.mdb *.sqlite *.db);;All files (*)</source>
        <translation>קובצי מדריך (*.mdb *.sqlite *.db);;כל הקבצים (*)</translation>
    </message>
    <message>
        <source>Tovrin goes on with the file as it is, for reading only: nothing is written to it, so that nothing more of it is lost.</source>
        <translation>Tovrin ממשיך לעבוד עם הקובץ כמו שהוא, לקריאה בלבד: שום דבר לא ייכתב אליו, כדי שלא יאבד ממנו דבר נוסף.</translation>
    </message>
    <message>
        <source>Backup copies in %1:</source>
        <translation>העתקי גיבוי ב-%1:</translation>
    </message>
    <message>
        <source>Replace everything in the directory with the copy of %1?

What the directory holds now is kept as a backup copy first.</source>
        <translation>להחליף את כל תוכן המדריך בהעתק מ-%1?

התוכן הנוכחי של המדריך יישמר קודם כהעתק גיבוי.</translation>
    </message>
    <message>
        <source>The directory file &quot;%1&quot; is damaged: %2.</source>
        <translation>קובץ המדריך &quot;%1&quot; פגום: %2.</translation>
    </message>
    <message>
        <source>Restore a Backup...</source>
        <translation>שחזור מגיבוי...</translation>
    </message>
    <message>
        <source>%1

There is no good backup copy to restore. %2</source>
        <translation>%1

אין העתק גיבוי תקין לשחזור. %2</translation>
    </message>
    <message>
        <source>%1

Restore the newest good backup copy, %2?

The damaged file is kept as a backup copy first. If you do not restore it, %3</source>
        <translation>%1

לשחזר את העתק הגיבוי התקין האחרון, %2?

הקובץ הפגום נשמר קודם כהעתק גיבוי. אם לא תשחזר אותו: %3</translation>
    </message>
</context>
<context>
    <name>Backups</name>
    <message>
        <source>it is no directory file of this program (it lacks %1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Columns</name>
    <message>
        <source>Book</source>
        <translation type="unfinished">ספר</translation>
    </message>
    <message>
        <source>First Name</source>
        <translation type="unfinished">שם פרטי</translation>
    </message>
    <message>
        <source>Last Name</source>
        <translation type="unfinished">שם משפחה</translation>
    </message>
    <message>
        <source>Business Name</source>
        <translation type="unfinished">שם העסק</translation>
    </message>
    <message>
        <source>Address</source>
        <translation type="unfinished">כתובת</translation>
    </message>
    <message>
        <source>City</source>
        <translation type="unfinished">עיר</translation>
    </message>
    <message>
        <source>State</source>
        <translation type="unfinished">מחוז</translation>
    </message>
    <message>
        <source>Zip Code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Telephone 1</source>
        <translation type="unfinished">טלפון 1</translation>
    </message>
    <message>
        <source>Telephone 2</source>
        <translation type="unfinished">טלפון 2</translation>
    </message>
    <message>
        <source>Cellular</source>
        <translation type="unfinished">נייד</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation type="unfinished">פקס</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Speaks LANGUAGE for this run, windows too: he (Hebrew) or en (English); the default is the locale&apos;s.</source>
        <translation>השפה (LANGUAGE) להפעלה זו, גם בחלונות: he (עברית) או en (אנגלית); ברירת המחדל היא שפת המערכת.</translation>
    </message>
    <message>
        <source>--%1 goes with %2.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> or </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown country &quot;%1&quot; for --region: give its two-letter code, such as US, GB or IL.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no message %1: the log is empty. Nothing was changed.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no message %1: the log&apos;s messages are numbered 1 to %2, as --messages lists them. Nothing was changed.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message %1 (%2 %3, from %4 for %5)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was marked done already (%2 by %3); nothing was changed.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is marked done.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lists the message log, newest first, one numbered message a line: number, date, time, From, To, message and state, separated by tabs.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lists only the messages not marked done.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lists only the messages left for NAME (To, letter case ignored).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Marks the message --messages numbered N done, as the log&apos;s &quot;Mark Done&quot; does.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With --sync: deletes here the entries the server no longer lists, however many (a copy of the file is kept first).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The task list the messages sync with (&quot;Messages&quot; unless named; made on the server when it has none of that name).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Personal and Business</source>
        <translation>פרטי ועסקי</translation>
    </message>
    <message numerus="yes">
        <source>%n entries printed to %1.
</source>
        <translation>
            <numerusform>רשומה אחת הודפסה אל %1.
</numerusform>
            <numerusform>%n רשומות הודפסו אל %1.
</numerusform>
        </translation>
    </message>
    <message>
        <source>Tovrin, a telephone directory with a telephone-message pad.
Without options it starts its windows. With them it works on the directory file the windows use (%1) and opens no window.

Import reads vCard (2.1, 3.0, 4.0) and CSV files, and the old program&apos;s Access data files (.mdb, .accdb: entries and messages), and prints what it will do: the entries for each book, those already in the directory (skipped) and every value not carried over as it was. It writes all the entries or none.
Exit codes: 0 everything was carried over, 1 something was left out, 2 an error.</source>
        <translation>Tovrin, מדריך טלפונים עם פנקס הודעות טלפוניות.
בלי אפשרויות הוא פותח את החלונות שלו. עם אפשרויות הוא עובד על קובץ המדריך שהחלונות משתמשים בו (%1) ואינו פותח שום חלון.

הייבוא קורא קובצי vCard (2.1, 3.0, 4.0) ו-CSV, ואת קובצי הנתונים של Access מהתוכנה הקודמת (.mdb, .accdb: רשומות והודעות), ומדפיס מה ייעשה: הרשומות לכל ספר, אלה שכבר נמצאות במדריך (ידולגו) וכל ערך שלא יועבר כפי שהוא. נכתבות כל הרשומות או אף אחת.
קודי יציאה: 0 הכול הועבר, 1 משהו נשאר בחוץ, 2 שגיאה.</translation>
    </message>
    <message>
        <source>Prints a book to FILE as PDF.</source>
        <translation>מדפיס ספר לקובץ FILE בתבנית PDF.</translation>
    </message>
</context>
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
    <name>DataGrid</name>
    <message>
        <source>Delete the selected row? Undo (Ctrl+Z) brings it back.</source>
        <translation>למחוק את השורה שנבחרה? ביטול (Ctrl+Z) יחזיר אותה.</translation>
    </message>
    <message>
        <source>Delete the %1 selected rows? Undo (Ctrl+Z) brings them back.</source>
        <translation>למחוק את %1 השורות שנבחרו? ביטול (Ctrl+Z) יחזיר אותן.</translation>
    </message>
</context>
<context>
    <name>DavClient</name>
    <message>
        <source>the server&apos;s answer was larger than %1 MB; it was not read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server took more than %1 seconds to answer, too slowly to wait for</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DavXml</name>
    <message>
        <source>a tag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a processing instruction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>malformed XML: %1 longer than %2 kB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the card is larger than %1 MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the card is larger than %1 kB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the card holds characters XML does not allow</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DbError</name>
    <message>
        <source>The database file is damaged and was opened for reading only, so that nothing more of it is lost. Nothing was saved (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database file is being checked for damage, as at every start, and takes no changes until the check has ended, in a moment. Nothing was saved; try again (%1).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ErrorPath</name>
    <message>
        <source>The database file is damaged and is opened for reading only: nothing is written to it. Changes cannot be saved there until it is restored from a backup copy or repaired.
Database file: %1</source>
        <translation>קובץ מסד הנתונים פגום ונפתח לקריאה בלבד: שום דבר לא נכתב אליו. לא ניתן לשמור בו שינויים עד שישוחזר מהעתק גיבוי או יתוקן.
קובץ מסד הנתונים: %1</translation>
    </message>
    <message>
        <source>The database file can be read but not written: it or its folder is read-only. Changes cannot be saved there.
Database file: %1</source>
        <translation>אפשר לקרוא את קובץ מסד הנתונים אבל לא לכתוב אליו: הקובץ או התיקייה שלו לקריאה בלבד. לא ניתן לשמור בו שינויים.
קובץ מסד הנתונים: %1</translation>
    </message>
    <message>
        <source>Error %1

%2</source>
        <translation>שגיאה %1

%2</translation>
    </message>
</context>
<context>
    <name>FileDialogs</name>
    <message>
        <source>Save %1 as PDF</source>
        <translation>שמירת %1 כ-PDF</translation>
    </message>
</context>
<context>
    <name>GridModel</name>
    <message>
        <source>Date</source>
        <translation type="unfinished">תאריך</translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished">שעה</translation>
    </message>
    <message>
        <source>From</source>
        <translation type="unfinished">מאת</translation>
    </message>
    <message>
        <source>To</source>
        <translation type="unfinished">אל</translation>
    </message>
    <message>
        <source>Message</source>
        <translation type="unfinished">הודעה</translation>
    </message>
    <message>
        <source>The column %1 holds at most %2 characters; the %3 typed were not written, and the cell keeps what is stored.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImportPreview</name>
    <message>
        <source>Numbers without a country code are dialled in:</source>
        <translation>מספרים ללא קידומת מדינה מחויגים במדינה:</translation>
    </message>
    <message>
        <source>The system names no country, so the numbers of this import are read in none: numbers with a country code are left out until the country is chosen above.</source>
        <translation>במערכת לא מוגדרת מדינה, ולכן המספרים בייבוא הזה אינם משויכים לשום מדינה: מספרים עם קידומת מדינה יושמטו עד שתבחרו מדינה למעלה.</translation>
    </message>
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
    <name>Language</name>
    <message>
        <source>Unknown language &quot;%1&quot; for --lang: give he or en.
</source>
        <translation>שפה לא מוכרת &quot;%1&quot; ל-‎--lang: יש לציין he או en.
</translation>
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
    <name>MDIForm1</name>
    <message>
        <source>Syncing...</source>
        <translation>מסנכרן...</translation>
    </message>
    <message>
        <source>Syncing %1: %2 of %3 cards...</source>
        <translation>מסנכרן את %1: %2 מתוך %3 כרטיסים...</translation>
    </message>
    <message>
        <source>Sync failed at %1: %2</source>
        <translation>הסנכרון נכשל ב-%1: %2</translation>
    </message>
    <message>
        <source>Last synced at %1: %2 received, %3 sent</source>
        <translation>סנכרון אחרון ב-%1: %2 התקבלו, %3 נשלחו</translation>
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
    <name>MessageLog</name>
    <message>
        <source>The message was deleted elsewhere since the log showed it; nothing was changed.</source>
        <translation type="unfinished"></translation>
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
    <message>
        <source>Business</source>
        <translation>עסקי</translation>
    </message>
    <message>
        <source>Personal</source>
        <translation>אישי</translation>
    </message>
</context>
<context>
    <name>MessageTask</name>
    <message>
        <source>Message for %1 from %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message from %1</source>
        <translation type="unfinished">הודעה מאת %1</translation>
    </message>
    <message>
        <source>Message</source>
        <translation type="unfinished">הודעה</translation>
    </message>
    <message>
        <source>Call back: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Module1</name>
    <message>
        <source>The program cannot tell which folder it was started from, so it cannot find the database file beside it.</source>
        <translation>התוכנה אינה יכולה לדעת מאיזו תיקייה הופעלה, ולכן אינה מוצאת את קובץ מסד הנתונים שלצדה.</translation>
    </message>
    <message>
        <source>The name of the program&apos;s folder, &quot;%1&quot;, holds bytes that are no text in this system&apos;s encoding of file names (shown as \x and two hex digits), so the database file beside the program cannot be named. Move the program to a folder whose name has only valid characters.</source>
        <translation>שם התיקייה של התוכנה, &quot;%1&quot;, מכיל בתים שאינם טקסט בקידוד שמות הקבצים של מערכת זו (מוצגים כ-\x ושתי ספרות הקסדצימליות), ולכן אי אפשר לציין את קובץ מסד הנתונים שלצד התוכנה. יש להעביר את התוכנה לתיקייה ששמה מכיל תווים תקינים בלבד.</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: %2.</source>
        <translation>לא ניתן לקרוא את &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>Cannot create &quot;%1&quot;: %2.</source>
        <translation>לא ניתן ליצור את &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2.</source>
        <translation>לא ניתן לכתוב אל &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>Cannot use the folder &quot;%1&quot;: %2.</source>
        <translation>לא ניתן להשתמש בתיקייה &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>The folder for your directory file, &quot;%1&quot;, is not safe to use: %2. Make it a folder of your own that only you can write to (for example: remove it, and Tovrin makes a new one).</source>
        <translation>התיקייה של קובץ המדריך שלך, &quot;%1&quot;, אינה בטוחה לשימוש: %2. יש להפוך אותה לתיקייה פרטית שרק לך יש הרשאת כתיבה אליה (למשל: למחוק אותה, ו-Tovrin ייצור חדשה).</translation>
    </message>
    <message>
        <source>Cannot create the folder &quot;%1&quot;: %2.</source>
        <translation>לא ניתן ליצור את התיקייה &quot;%1&quot;: %2.</translation>
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
    <name>Printout</name>
    <message>
        <source>The printer could not be started.</source>
        <translation>לא ניתן היה להפעיל את המדפסת.</translation>
    </message>
    <message>
        <source>The printout could not be finished.</source>
        <translation>לא ניתן היה להשלים את ההדפסה.</translation>
    </message>
    <message>
        <source>The printer stopped after page %1.</source>
        <translation>המדפסת נעצרה אחרי עמוד %1.</translation>
    </message>
    <message>
        <source>Page %1</source>
        <translation>עמוד %1</translation>
    </message>
    <message>
        <source>Tel</source>
        <translation>טל׳</translation>
    </message>
    <message>
        <source>Cell</source>
        <translation>נייד</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>פקס</translation>
    </message>
    <message>
        <source>No entries.</source>
        <translation>אין רשומות.</translation>
    </message>
    <message>
        <source>Messages - %1</source>
        <translation>הודעות - %1</translation>
    </message>
    <message>
        <source>%1  %2    From: %3    To: %4</source>
        <translation>%1  %2    מאת: %3    אל: %4</translation>
    </message>
    <message>
        <source>No messages.</source>
        <translation>אין הודעות.</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <translation>RTL</translation>
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
    <name>Settings</name>
    <message>
        <source>Choose the country</source>
        <translation>בחירת מדינה</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>הגדרות</translation>
    </message>
    <message>
        <source>Telephone numbers without a country code are dialled in:</source>
        <translation>מספרי טלפון בלי קידומת מדינה מחויגים ב:</translation>
    </message>
    <message>
        <source>Imports read numbers in this country: a number of another country is left out, and an international number of this one is stored as it is dialled here.</source>
        <translation>הייבוא קורא מספרים כמספרים של מדינה זו: מספר של מדינה אחרת אינו נכלל, ומספר בינלאומי של מדינה זו נשמר כפי שמחייגים אותו כאן.</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>הגדרות...</translation>
    </message>
</context>
<context>
    <name>SyncCommands</name>
    <message>
        <source>The server has the address books %1, none of them for %2. Name the address book of each book with --personal NAME and --business NAME (the same one may take both books; a name the server does not have is made there, empty).
Nothing was changed.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The messages do not sync: %1
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The task list could not be set up: %1
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The messages sync with %1.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To delete them here as well (a copy of the file is kept first): tovrin --sync --force-delete
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SyncReport</name>
    <message>
        <source>1 entry of %1 is no longer on the server (%2): it was not deleted here, and nothing of that address book was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n entries of %1 are no longer on the server (%2): nothing was deleted here, and nothing of that address book was written.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SyncRun</name>
    <message>
        <source>The sync of %1 is paused: &quot;Sync Now...&quot; asks again what to do with the entries the server no longer lists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n more values of the server&apos;s cards could not be placed in their entries.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>the card is no vCard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The card %1 on the server was left out: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server named %1, which is no card of %2: it was ignored, and nothing is sent to it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The card %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (card %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1%2: %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2%3 %4.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; and &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused to move %1 to %2 (%3%4).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SyncSettingsDialog</name>
    <message>
        <source>Messages sync with:</source>
        <translation>ההודעות מסתנכרנות עם:</translation>
    </message>
    <message>
        <source>New address book &quot;%1&quot;</source>
        <translation>פנקס כתובות חדש &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 address books found: choose one for %2.</source>
        <translation>נמצאו %1 פנקסי כתובות: יש לבחור אחד עבור %2.</translation>
    </message>
    <message>
        <source> and for </source>
        <translation> ועבור </translation>
    </message>
    <message>
        <source>Looking for task lists at %1...</source>
        <translation>מחפש רשימות משימות ב-%1...</translation>
    </message>
    <message>
        <source>New task list &quot;%1&quot;</source>
        <translation>רשימת משימות חדשה &quot;%1&quot;</translation>
    </message>
    <message>
        <source>None: the messages do not sync</source>
        <translation>ללא: ההודעות אינן מסתנכרנות</translation>
    </message>
    <message>
        <source>No task lists: %1</source>
        <translation>אין רשימות משימות: %1</translation>
    </message>
    <message>
        <source>Making the task list &quot;%1&quot;...</source>
        <translation>יוצר את רשימת המשימות &quot;%1&quot;...</translation>
    </message>
    <message>
        <source>Sync Settings</source>
        <translation>הגדרות סנכרון</translation>
    </message>
    <message>
        <source>Find Address Books</source>
        <translation>חיפוש פנקסי כתובות</translation>
    </message>
    <message>
        <source>Server:</source>
        <translation>שרת:</translation>
    </message>
    <message>
        <source>User name:</source>
        <translation>שם משתמש:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>סיסמה:</translation>
    </message>
    <message>
        <source>Looking for address books at %1...</source>
        <translation>מחפש פנקסי כתובות ב-%1...</translation>
    </message>
    <message>
        <source>The certificate of %1 is not trusted by this system. Its SHA-256 fingerprint is

%2

Trust it only if it is the one of your server. Trust this certificate for the sync?</source>
        <translation>מערכת זו אינה סומכת על האישור של %1. טביעת האצבע שלו ב-SHA-256 היא

%2

יש לסמוך עליו רק אם זהו האישור של השרת שלך. לסמוך על האישור הזה לצורך הסנכרון?</translation>
    </message>
    <message>
        <source>The search for address books was cancelled.</source>
        <translation>החיפוש אחר פנקסי כתובות בוטל.</translation>
    </message>
    <message>
        <source>The address given is an address book: it takes both books.</source>
        <translation>הכתובת שצוינה היא פנקס כתובות: שני הספרים יסונכרנו אליו.</translation>
    </message>
    <message>
        <source>%1 address books found.</source>
        <translation>נמצאו %1 פנקסי כתובות.</translation>
    </message>
    <message>
        <source>Cancelled: the settings were not kept.</source>
        <translation>בוטל: ההגדרות לא נשמרו.</translation>
    </message>
    <message>
        <source>Making the address book &quot;%1&quot;...</source>
        <translation>יוצר את פנקס הכתובות &quot;%1&quot;...</translation>
    </message>
    <message>
        <source>The password could not be kept (%1). Each sync will fail until it can be.</source>
        <translation>לא ניתן היה לשמור את הסיסמה (%1). כל סנכרון ייכשל עד שאפשר יהיה לשמור אותה.</translation>
    </message>
    <message>
        <source>The password is kept in the file %1, readable by you alone, because %2.</source>
        <translation>הסיסמה נשמרת בקובץ %1, שרק את/ה יכול/ה לקרוא, כי %2.</translation>
    </message>
</context>
<context>
    <name>SyncWindows</name>
    <message>
        <source>The address book %1 on the server no longer lists %L2 of the entries of %3 that are here. It may have been emptied or replaced on the server; nothing was deleted here.

Keep Them Here: the sync of that address book waits until you choose again (&quot;Sync Now...&quot;).
Send Them Again: they go to the server again as new cards.
Delete Them Here: they are deleted here as well; a copy of the file is kept first.</source>
        <translation>פנקס הכתובות %1 בשרת כבר אינו מכיל %L2 מהרשומות של %3 שנמצאות כאן. ייתכן שרוקן או הוחלף בשרת; דבר לא נמחק כאן.

להשאיר אותן כאן: הסנכרון של פנקס הכתובות הזה ימתין עד לבחירה חדשה (&quot;סנכרון עכשיו...&quot;).
לשלוח אותן שוב: הן יישלחו לשרת שוב ככרטיסים חדשים.
למחוק אותן כאן: הן יימחקו גם כאן; קודם יישמר העתק של הקובץ.</translation>
    </message>
    <message>
        <source>Keep Them Here</source>
        <translation>להשאיר אותן כאן</translation>
    </message>
    <message>
        <source>Send Them Again</source>
        <translation>לשלוח אותן שוב</translation>
    </message>
    <message>
        <source>Delete Them Here</source>
        <translation>למחוק אותן כאן</translation>
    </message>
    <message>
        <source>Sync Now...</source>
        <translation>סנכרון עכשיו...</translation>
    </message>
    <message>
        <source>Sync: %1</source>
        <translation>סנכרון: %1</translation>
    </message>
    <message>
        <source>Sync failed: %1</source>
        <translation>הסנכרון נכשל: %1</translation>
    </message>
    <message>
        <source>Sync Settings...</source>
        <translation>הגדרות סנכרון...</translation>
    </message>
</context>
<context>
    <name>TaskRules</name>
    <message>
        <source>the date and time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From</source>
        <translation type="unfinished">מאת</translation>
    </message>
    <message>
        <source>To</source>
        <translation type="unfinished">אל</translation>
    </message>
    <message>
        <source>the message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>call back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>urgent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 was changed here and on the server; the server&apos;s was kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was deleted on the server and changed here; it is sent again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is no task on the server any more; it was deleted here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is no task on the server any more; the message as edited here goes back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was deleted here and changed on the server; it was brought back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The message for &quot;%1&quot; from &quot;%2&quot; of %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TaskSync</name>
    <message>
        <source>The sync of the message log is paused: &quot;Sync Now...&quot; asks again what to do with the messages the server no longer lists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server refused the user name or password (401)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the task list is missing on the server (404)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server answered %1%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused %1 (%2%3).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server named %1, which is no task of %2: it was ignored, and nothing is sent to it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Messages</source>
        <translation type="unfinished">הודעות</translation>
    </message>
    <message>
        <source>Messages were changed here during the sync; they go at the next sync.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the changes of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the changes of %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Listing %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Listing %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the tasks of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the tasks of %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is no iCalendar text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The task %1 on the server was left out: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the message log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sending %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deleting %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UndoCommands</name>
    <message>
        <source>Undo</source>
        <translation>ביטול</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>ביטול %1</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>ביצוע חוזר</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>ביצוע חוזר: %1</translation>
    </message>
</context>
<context>
    <name>frmAdd</name>
    <message>
        <source>Name / Business</source>
        <translation>שם / עסק</translation>
    </message>
    <message>
        <source>Saved %1 in the %2 book.</source>
        <translation>%1 נשמרה בספר %2.</translation>
    </message>
    <message>
        <source>an entry without a name</source>
        <translation>רשומה ללא שם</translation>
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
</context>
<context>
    <name>frmMain</name>
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
        <source>Business</source>
        <comment>the book</comment>
        <translation>עסקי</translation>
    </message>
    <message>
        <source>Personal</source>
        <comment>the book</comment>
        <translation>אישי</translation>
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
    <message numerus="yes">
        <source>%Ln entries hold &quot;%1&quot;.</source>
        <translation>
            <numerusform>רשומה אחת מכילה &quot;%1&quot;.</numerusform>
            <numerusform>%Ln רשומות מכילות &quot;%1&quot;.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>frmMes</name>
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
        <source>M  e  s  s  a  g  e  s</source>
        <translation>ה  ו  ד  ע  ו  ת</translation>
    </message>
</context>
</TS>
