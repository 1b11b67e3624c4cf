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
    <name>AccessFile</name>
    <message>
        <source>it is empty</source>
        <translation>הוא ריק</translation>
    </message>
    <message>
        <source>it is not an Access database file</source>
        <translation>הוא אינו קובץ מסד נתונים של Access</translation>
    </message>
    <message>
        <source>the reader of Access files cannot be started (%1)</source>
        <translation>לא ניתן להפעיל את קורא קובצי ה-Access (%1)</translation>
    </message>
    <message>
        <source>reading it did not come to an end (the file is damaged)</source>
        <translation>קריאתו לא הסתיימה (הקובץ פגום)</translation>
    </message>
    <message>
        <source>reading it failed (the file is damaged)</source>
        <translation>קריאתו נכשלה (הקובץ פגום)</translation>
    </message>
</context>
<context>
    <name>AccessImport</name>
    <message>
        <source>a year before 1000 cannot be stored</source>
        <translation>לא ניתן לשמור שנה שלפני 1000</translation>
    </message>
    <message numerus="yes">
        <source>%1.%2 (%n values)</source>
        <translation>
            <numerusform>%1.%2 (ערך אחד)</numerusform>
            <numerusform>%1.%2 (%n ערכים)</numerusform>
        </translation>
    </message>
    <message>
        <source>longer than the %1 characters the column holds</source>
        <translation>ארוך מ-%1 התווים שהעמודה מכילה</translation>
    </message>
    <message>
        <source>the time of day is left out</source>
        <translation>השעה הושמטה</translation>
    </message>
    <message>
        <source>the date is left out</source>
        <translation>התאריך הושמט</translation>
    </message>
    <message>
        <source>it holds no table tblTel, so it is no data file of a telephone directory</source>
        <translation>אין בו טבלה tblTel, ולכן אינו קובץ נתונים של ספר טלפונים</translation>
    </message>
    <message>
        <source>its table tblTel lacks the columns %1</source>
        <translation>בטבלה tblTel שבו חסרות העמודות %1</translation>
    </message>
    <message>
        <source>its column tblTel.%1 holds no text</source>
        <translation>העמודה tblTel.%1 שבו אינה מכילה טקסט</translation>
    </message>
    <message>
        <source>its table tblMes lacks the columns %1</source>
        <translation>בטבלה tblMes שבו חסרות העמודות %1</translation>
    </message>
    <message>
        <source>its column tblMes.%1 holds no dates</source>
        <translation>העמודה tblMes.%1 שבו אינה מכילה תאריכים</translation>
    </message>
    <message>
        <source>its column tblMes.%1 holds no text</source>
        <translation>העמודה tblMes.%1 שבו אינה מכילה טקסט</translation>
    </message>
    <message>
        <source>(the file holds no message log, tblMes)</source>
        <translation>(אין בקובץ יומן הודעות, tblMes)</translation>
    </message>
    <message>
        <source>the table %1 (not read)</source>
        <translation>הטבלה %1 (לא נקראה)</translation>
    </message>
    <message>
        <source>cannot be read: %1</source>
        <translation>לא ניתן לקרוא אותו: %1</translation>
    </message>
    <message>
        <source>cannot be imported: %1</source>
        <translation>לא ניתן לייבא אותו: %1</translation>
    </message>
    <message>
        <source>message %1 %2</source>
        <translation>הודעה %1 %2</translation>
    </message>
    <message>
        <source>not carried over: the directory has no place for it</source>
        <translation>לא הועבר: אין לו מקום בספר הטלפונים</translation>
    </message>
    <message>
        <source>holds no entry and no message</source>
        <translation>אין בו רשומות ואין בו הודעות</translation>
    </message>
</context>
<context>
    <name>BackupCommandLine</name>
    <message>
        <source>A copy of %1 was written to %2.
</source>
        <translation>עותק של %1 נכתב אל %2.
</translation>
    </message>
    <message>
        <source>Backup copies in %1:
</source>
        <translation>עותקי הגיבוי שב-%1:
</translation>
    </message>
    <message>
        <source>%1 entries, %2 messages</source>
        <translation>רשומות: %1, הודעות: %2</translation>
    </message>
    <message>
        <source>cannot be restored: %1</source>
        <translation>לא ניתן לשחזר ממנו: %1</translation>
    </message>
    <message>
        <source>%1 was restored from %2; its former contents are kept as %3.
</source>
        <translation>%1 שוחזר מתוך %2; תוכנו הקודם נשמר בשם %3.
</translation>
    </message>
    <message>
        <source>Writes a consistent copy of the directory file to FILE.</source>
        <translation>כותב אל FILE עותק שלם ועקבי של קובץ ספר הטלפונים.</translation>
    </message>
    <message>
        <source>Lists the program&apos;s backup copies with their entries and messages.</source>
        <translation>מציג את עותקי הגיבוי של התוכנה, ובכל אחד את מספר הרשומות וההודעות.</translation>
    </message>
    <message>
        <source>Replaces the directory&apos;s contents with those of FILE (a path, or the name of a copy in the backups folder), keeping a copy of the current contents first.</source>
        <translation>מחליף את תוכן ספר הטלפונים בתוכן של FILE (נתיב, או שם של עותק בתיקיית הגיבויים), ולפני כן שומר עותק של התוכן הנוכחי.</translation>
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
        <translation>זה אינו קובץ ספר טלפונים של תוכנה זו (חסרים בו %1)</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2.</source>
        <translation>לא ניתן לכתוב את &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>Cannot create a file in &quot;%1&quot;: %2.</source>
        <translation>לא ניתן ליצור קובץ ב-&quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: %2.</source>
        <translation>לא ניתן לקרוא את &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>No backup copy of &quot;%1&quot; could be made in &quot;%2&quot;: %3</source>
        <translation>לא ניתן היה ליצור עותק גיבוי של &quot;%1&quot; בתיקייה &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <source>it is not a folder of your own.</source>
        <translation>זו אינה תיקייה שלך.</translation>
    </message>
    <message>
        <source>it is not a plain file</source>
        <translation>זה אינו קובץ רגיל</translation>
    </message>
    <message>
        <source>it is damaged (%1)</source>
        <translation>הקובץ פגום (%1)</translation>
    </message>
    <message>
        <source>it is no directory file (it has no table %1)</source>
        <translation>זה אינו קובץ של ספר טלפונים (אין בו טבלה %1)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be restored: %2. Nothing was changed.</source>
        <translation>לא ניתן לשחזר מתוך &quot;%1&quot;: %2. לא שונה דבר.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a plain file; nothing was restored.</source>
        <translation>&quot;%1&quot; אינו קובץ רגיל; לא שוחזר דבר.</translation>
    </message>
</context>
<context>
    <name>CollectionChanges</name>
    <message>
        <source>Reading the changes of %1</source>
        <translation>קריאת השינויים של %1</translation>
    </message>
    <message>
        <source>Reading the changes of %1: %2</source>
        <translation>קריאת השינויים של %1: %2</translation>
    </message>
    <message>
        <source>Listing %1</source>
        <translation>קריאת הרשימה של %1</translation>
    </message>
    <message>
        <source>Listing %1: %2</source>
        <translation>קריאת הרשימה של %1: %2</translation>
    </message>
</context>
<context>
    <name>Columns</name>
    <message>
        <source>Book</source>
        <translation>ספר</translation>
    </message>
    <message>
        <source>First Name</source>
        <translation>שם פרטי</translation>
    </message>
    <message>
        <source>Last Name</source>
        <translation>שם משפחה</translation>
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
        <source>State</source>
        <translation>מדינה</translation>
    </message>
    <message>
        <source>Zip Code</source>
        <translation>מיקוד</translation>
    </message>
    <message>
        <source>Telephone 1</source>
        <translation>טלפון 1</translation>
    </message>
    <message>
        <source>Telephone 2</source>
        <translation>טלפון 2</translation>
    </message>
    <message>
        <source>Cellular</source>
        <translation>נייד</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>פקס</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Speaks LANGUAGE for this run, windows too: he (Hebrew) or en (English); the default is the locale&apos;s.</source>
        <translation>השפה (LANGUAGE) להפעלה זו, גם בחלונות: he (עברית) או en (אנגלית); ברירת המחדל היא שפת המערכת.</translation>
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
    <name>CommandRegistry</name>
    <message>
        <source>&quot;%1&quot; is a data file of the old program (an Access database). Start Tovrin once without options to convert it.</source>
        <translation>&quot;%1&quot; הוא קובץ נתונים של התוכנה הישנה (מסד נתונים של Access). כדי להמיר אותו, יש להפעיל את Tovrin פעם אחת בלי אפשרויות.</translation>
    </message>
    <message>
        <source>--%1 goes with %2.
</source>
        <translation>האפשרות --%1 באה רק יחד עם %2.
</translation>
    </message>
    <message>
        <source>--%1 goes with %2 or %3.
</source>
        <translation>האפשרות --%1 באה רק יחד עם %2 או %3.
</translation>
    </message>
</context>
<context>
    <name>Console</name>
    <message>
        <source>Error %1
%2
</source>
        <translation>שגיאה %1
%2
</translation>
    </message>
</context>
<context>
    <name>ContactChoice</name>
    <message>
        <source>left out: the entry holds one fax number</source>
        <translation>הושמט: ברשומה יש מקום למספר פקס אחד בלבד</translation>
    </message>
    <message>
        <source>left out: the entry holds two telephone numbers besides the cellular and the fax</source>
        <translation>הושמט: ברשומה יש מקום לשני מספרי טלפון בלבד מלבד הנייד והפקס</translation>
    </message>
    <message>
        <source>left out: %1</source>
        <translation>הושמט: %1</translation>
    </message>
    <message>
        <source>left out: the entry has no place for additional names</source>
        <translation>הושמט: אין ברשומה מקום לשמות נוספים</translation>
    </message>
    <message>
        <source>left out: the entry holds one address</source>
        <translation>הושמט: ברשומה יש מקום לכתובת אחת בלבד</translation>
    </message>
    <message>
        <source>left out: it holds no name and no telephone number</source>
        <translation>הושמט: אין בו שם ואין בו מספר טלפון</translation>
    </message>
    <message>
        <source>e-mail</source>
        <translation>דואר אלקטרוני</translation>
    </message>
    <message>
        <source>notes</source>
        <translation>הערות</translation>
    </message>
    <message>
        <source>country</source>
        <translation>ארץ</translation>
    </message>
    <message>
        <source>web page</source>
        <translation>אתר אינטרנט</translation>
    </message>
    <message>
        <source>birthday</source>
        <translation>יום הולדת</translation>
    </message>
    <message>
        <source>anniversary</source>
        <translation>יום נישואין</translation>
    </message>
    <message>
        <source>photo</source>
        <translation>תמונה</translation>
    </message>
    <message>
        <source>nickname</source>
        <translation>כינוי</translation>
    </message>
    <message>
        <source>job title</source>
        <translation>תפקיד</translation>
    </message>
    <message>
        <source>messaging address</source>
        <translation>כתובת להודעות מיידיות</translation>
    </message>
    <message>
        <source>categories</source>
        <translation>קטגוריות</translation>
    </message>
    <message>
        <source>1 value left out: the directory has no place for them</source>
        <translation>ערך אחד הושמט: אין לו מקום בספר הטלפונים</translation>
    </message>
    <message numerus="yes">
        <source>%n values left out: the directory has no place for them</source>
        <translation>
            <numerusform>ערך אחד הושמט: אין לו מקום בספר הטלפונים</numerusform>
            <numerusform>%n ערכים הושמטו: אין להם מקום בספר הטלפונים</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ContactCommandLine</name>
    <message>
        <source>%1
Nothing was imported.
</source>
        <translation>%1
לא יובא דבר.
</translation>
    </message>
    <message>
        <source>Nothing was written (--dry-run).
</source>
        <translation>לא נכתב דבר (--dry-run).
</translation>
    </message>
    <message>
        <source>Unknown format &quot;%1&quot;: use vcard3, vcard21, vcard4, csv, google-csv or outlook-csv.</source>
        <translation>התבנית &quot;%1&quot; אינה מוכרת: יש לבחור vcard3, vcard21, vcard4, csv, google-csv או outlook-csv.</translation>
    </message>
    <message numerus="yes">
        <source>%n entries written to %1.
</source>
        <translation>
            <numerusform>רשומה אחת נכתבה אל %1.
</numerusform>
            <numerusform>%n רשומות נכתבו אל %1.
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n messages written to %1.
</source>
        <translation>
            <numerusform>הודעה אחת נכתבה אל %1.
</numerusform>
            <numerusform>%n הודעות נכתבו אל %1.
</numerusform>
        </translation>
    </message>
    <message>
        <source>Unknown country &quot;%1&quot; for --region: give its two-letter code, such as US, GB or IL.
</source>
        <translation>הארץ &quot;%1&quot; שניתנה ל---region אינה מוכרת: יש לתת את הקוד שלה בשתי אותיות, כמו IL, US או GB.
</translation>
    </message>
    <message>
        <source>Unknown book &quot;%1&quot;: use personal, business or both.
</source>
        <translation>הספר &quot;%1&quot; אינו מוכר: יש לבחור personal, business או both.
</translation>
    </message>
    <message>
        <source>Imports the contacts of FILE (more files may follow).</source>
        <translation>מייבא את אנשי הקשר שב-FILE (אפשר לתת אחריו קבצים נוספים).</translation>
    </message>
    <message>
        <source>Reads text that names no encoding and is not UTF-8 in NAME, e.g. windows-1255, windows-1252, ISO-8859-8, Shift_JIS.</source>
        <translation>קורא בקידוד NAME טקסט שאינו UTF-8 ואינו מציין את הקידוד שלו, למשל windows-1255, windows-1252, ISO-8859-8, Shift_JIS.</translation>
    </message>
    <message>
        <source>Reads and writes telephone numbers without a country code as numbers of the country CODE (US, GB, IL, ...) for this run, windows too; the default is the one chosen in Settings, else the locale&apos;s.</source>
        <translation>בהפעלה זו, גם בחלונות, מספרי טלפון בלי קידומת ארץ נקראים ונכתבים כמספרים של הארץ CODE (IL, US, GB...); ברירת המחדל היא הארץ שנבחרה בהגדרות, ואם לא נבחרה – זו של הגדרות האזור.</translation>
    </message>
    <message>
        <source>Prints what an import would do and writes nothing.</source>
        <translation>מציג מה הייבוא היה עושה, ואינו כותב דבר.</translation>
    </message>
    <message>
        <source>Exports entries to FILE.</source>
        <translation>מייצא רשומות אל FILE.</translation>
    </message>
    <message>
        <source>The book to export or print: personal, business or both (default).</source>
        <translation>הספר לייצוא או להדפסה: personal (אישי), business (עסקי) או both (שניהם, ברירת המחדל).</translation>
    </message>
    <message>
        <source>vcard3 (default), vcard21 for old phones, vcard4, csv (the default for a FILE ending in .csv), or google-csv and outlook-csv in the layouts those services import.</source>
        <translation>vcard3 (ברירת המחדל), vcard21 לטלפונים ישנים, vcard4, csv (ברירת המחדל ל-FILE שמסתיים ב-.csv), או google-csv ו-outlook-csv במבנה שהשירותים האלה מייבאים.</translation>
    </message>
    <message>
        <source>Exports the message log to FILE as CSV.</source>
        <translation>מייצא את יומן ההודעות אל FILE בתבנית CSV.</translation>
    </message>
    <message>
        <source>More files to import.</source>
        <translation>קבצים נוספים לייבוא.</translation>
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
    <name>ContactFit</name>
    <message numerus="yes">
        <source>cut to %n characters</source>
        <translation>
            <numerusform>קוצר לתו אחד</numerusform>
            <numerusform>קוצר ל-%n תווים</numerusform>
        </translation>
    </message>
    <message>
        <source>left out: no %1-letter postal code for it</source>
        <translation>הושמט: אין לו קוד דואר בן %1 אותיות</translation>
    </message>
    <message>
        <source>stored as %1, the +4 part %2 left out</source>
        <translation>נשמר כ-%1, והתוספת +4 (%2) הושמטה</translation>
    </message>
    <message>
        <source>left out: not five digits</source>
        <translation>הושמט: אין בו חמש ספרות</translation>
    </message>
    <message>
        <source>left out: %1</source>
        <translation>הושמט: %1</translation>
    </message>
    <message>
        <source>stored as %1, %2 left out</source>
        <translation>נשמר כ-%1; הושמט: %2</translation>
    </message>
    <message>
        <source>a character that could not be read (a NUL byte, half a UTF-16 surrogate pair or a byte the encoding has no character for) replaced by U+FFFD (�)</source>
        <translation>תו שלא ניתן היה לקרוא (בית NUL, חצי זוג חלופי של UTF-16 או בית שאין לו תו בקידוד) הוחלף ב-U+FFFD (�)</translation>
    </message>
    <message numerus="yes">
        <source>%n characters that could not be read (a NUL byte, half a UTF-16 surrogate pair or a byte the encoding has no character for) replaced by U+FFFD (�)</source>
        <translation>
            <numerusform>תו שלא ניתן היה לקרוא (בית NUL, חצי זוג חלופי של UTF-16 או בית שאין לו תו בקידוד) הוחלף ב-U+FFFD (�)</numerusform>
            <numerusform>%n תווים שלא ניתן היה לקרוא (בית NUL, חצי זוג חלופי של UTF-16 או בית שאין לו תו בקידוד) הוחלפו ב-U+FFFD (�)</numerusform>
        </translation>
    </message>
    <message>
        <source>stored as %1</source>
        <translation>נשמר כ-%1</translation>
    </message>
    <message>
        <source>left out: a personal entry has no company</source>
        <translation>הושמט: לרשומה אישית אין חברה</translation>
    </message>
    <message>
        <source>left out: nothing to store</source>
        <translation>הושמט: אין מה לשמור</translation>
    </message>
</context>
<context>
    <name>ContactImport</name>
    <message>
        <source>(no name)</source>
        <translation>(ללא שם)</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>תיקייה</translation>
    </message>
    <message>
        <source>a named pipe (FIFO)</source>
        <translation>צינור בעל שם (FIFO)</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>התקן</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>שקע (socket)</translation>
    </message>
    <message>
        <source>no regular file</source>
        <translation>דבר שאינו קובץ רגיל</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be imported: it is %2, not a file. Only regular files are read.</source>
        <translation>לא ניתן לייבא את &quot;%1&quot;: זה לא קובץ אלא %2. רק קבצים רגילים נקראים.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be imported: it holds %2 MB, more than the %3 MB an import reads.</source>
        <translation>לא ניתן לייבא את &quot;%1&quot;: גודלו %2 MB, יותר מ-%3 MB שייבוא קורא.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be read: %2.</source>
        <translation>לא ניתן לקרוא את &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>(not read)</source>
        <translation>(לא לקרוא)</translation>
    </message>
    <message>
        <source>First Name</source>
        <translation>שם פרטי</translation>
    </message>
    <message>
        <source>Last Name</source>
        <translation>שם משפחה</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>חברה</translation>
    </message>
    <message>
        <source>Street</source>
        <translation>רחוב</translation>
    </message>
    <message>
        <source>City</source>
        <translation>עיר</translation>
    </message>
    <message>
        <source>State</source>
        <translation>מדינה</translation>
    </message>
    <message>
        <source>Postal Code</source>
        <translation>מיקוד</translation>
    </message>
    <message>
        <source>Telephone</source>
        <translation>טלפון</translation>
    </message>
    <message>
        <source>Mobile Phone</source>
        <translation>טלפון נייד</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>פקס</translation>
    </message>
    <message>
        <source>holds no contact</source>
        <translation>אין בו אנשי קשר</translation>
    </message>
    <message>
        <source>in %1</source>
        <translation>ב-%1</translation>
    </message>
    <message numerus="yes">
        <source>%n new entries: %1 in &quot;Personal&quot;, %2 in &quot;Business&quot;.</source>
        <translation>
            <numerusform>רשומה חדשה אחת: %1 ב-&quot;אישי&quot;, %2 ב-&quot;עסקי&quot;.</numerusform>
            <numerusform>%n רשומות חדשות: %1 ב-&quot;אישי&quot;, %2 ב-&quot;עסקי&quot;.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n new messages for the log; %1 already there, skipped.</source>
        <translation>
            <numerusform>הודעה חדשה אחת ליומן; %1 כבר נמצאות בו ודולגו.</numerusform>
            <numerusform>%n הודעות חדשות ליומן; %1 כבר נמצאות בו ודולגו.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>  and %n more</source>
        <translation>
            <numerusform>  ועוד אחת</numerusform>
            <numerusform>  ועוד %n</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n already in the directory, skipped:</source>
        <translation>
            <numerusform>אחת כבר נמצאת בספר הטלפונים ודולגה:</numerusform>
            <numerusform>%n כבר נמצאות בספר הטלפונים ודולגו:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n values not carried over as they were:</source>
        <translation>
            <numerusform>ערך אחד לא הועבר כפי שהיה:</numerusform>
            <numerusform>%n ערכים לא הועברו כפי שהיו:</numerusform>
        </translation>
    </message>
    <message>
        <source>entry %1</source>
        <translation>רשומה %1</translation>
    </message>
    <message>
        <source>file</source>
        <translation>הקובץ</translation>
    </message>
</context>
<context>
    <name>Credentials</name>
    <message>
        <source>the desktop keyring</source>
        <translation>מחזיק המפתחות של שולחן העבודה</translation>
    </message>
    <message>
        <source>no desktop keyring answered</source>
        <translation>אף מחזיק מפתחות של שולחן העבודה לא ענה</translation>
    </message>
    <message>
        <source>no desktop keyring answered (%1)</source>
        <translation>אף מחזיק מפתחות של שולחן העבודה לא ענה (%1)</translation>
    </message>
    <message>
        <source>this build of the program has no keyring support</source>
        <translation>גרסה זו של התוכנה נבנתה בלי תמיכה במחזיק מפתחות</translation>
    </message>
</context>
<context>
    <name>CsvColumns</name>
    <message>
        <source>left out: the row holds more numbers than an entry can</source>
        <translation>הושמט: בשורה יש יותר מספרים ממה שרשומה יכולה להכיל</translation>
    </message>
    <message>
        <source>left out: an earlier column gives the same field</source>
        <translation>הושמט: עמודה קודמת כבר נותנת את אותו שדה</translation>
    </message>
</context>
<context>
    <name>CsvReader</name>
    <message>
        <source>a quote is never closed: the field is read to the end of its line</source>
        <translation>מירכאה שנפתחה לא נסגרה: השדה נקרא עד סוף השורה</translation>
    </message>
    <message>
        <source>a quote is not closed on its line: the field is read to the end of it</source>
        <translation>מירכאה לא נסגרה באותה שורה: השדה נקרא עד סופה</translation>
    </message>
    <message>
        <source>only the first %1 of its %2 fields are read</source>
        <translation>רק %1 השדות הראשונים מתוך %2 נקראים</translation>
    </message>
    <message>
        <source>header: %1</source>
        <translation>שורת הכותרת: %1</translation>
    </message>
    <message>
        <source>has %1 fields, the header %2: the fields after the first %2 are not read</source>
        <translation>יש בה %1 שדות ובשורת הכותרת %2: השדות שאחרי %2 הראשונים לא נקראים</translation>
    </message>
    <message>
        <source>has %1 fields, the first row %2: the fields after the first %2 are not read</source>
        <translation>יש בה %1 שדות ובשורה הראשונה %2: השדות שאחרי %2 הראשונים לא נקראים</translation>
    </message>
    <message>
        <source>read as %1: the file is not UTF-8 and names no encoding</source>
        <translation>נקרא כ-%1: הקובץ אינו UTF-8 ואינו מציין קידוד</translation>
    </message>
    <message>
        <source>nothing read: no column name is one of a name, company, address or telephone</source>
        <translation>לא נקרא דבר: אף שם עמודה אינו של שם, חברה, כתובת או טלפון</translation>
    </message>
    <message>
        <source>nothing read: the file has no header and no column names were given</source>
        <translation>לא נקרא דבר: אין בקובץ שורת כותרת ולא ניתנו שמות לעמודות</translation>
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
    <name>Database</name>
    <message>
        <source>The database file &quot;%1&quot; does not exist.</source>
        <translation>קובץ מסד הנתונים &quot;%1&quot; אינו קיים.</translation>
    </message>
    <message>
        <source>Cannot open the database file &quot;%1&quot;: %2.</source>
        <translation>לא ניתן לפתוח את קובץ מסד הנתונים &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; exists already; it is left as it is.</source>
        <translation>הקובץ &quot;%1&quot; כבר קיים; הוא נשאר כפי שהוא.</translation>
    </message>
    <message>
        <source>The file is not a database of this program: it has neither the directory nor the messages (tables tblTel and tblMes).
Database file: %1</source>
        <translation>הקובץ אינו מסד נתונים של תוכנה זו: אין בו לא את ספר הטלפונים ולא את ההודעות (הטבלאות tblTel ו-tblMes).
קובץ מסד הנתונים: %1</translation>
    </message>
    <message>
        <source>The file is not a database of this program, or it was changed by another: it lacks %1. It was left as it is.
Database file: %2</source>
        <translation>הקובץ אינו מסד נתונים של תוכנה זו, או שתוכנה אחרת שינתה אותו: חסרים בו %1. הוא נשאר כפי שהוא.
קובץ מסד הנתונים: %2</translation>
    </message>
</context>
<context>
    <name>DavClient</name>
    <message>
        <source>the server&apos;s answer was larger than %1 MB; it was not read</source>
        <translation>תשובת השרת גדולה מ-%1 MB; היא לא נקראה</translation>
    </message>
    <message>
        <source>the server took more than %1 seconds to answer, too slowly to wait for</source>
        <translation>השרת ענה לאט מדי: יותר מ-%1 שניות</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no http or https address</source>
        <translation>&quot;%1&quot; אינה כתובת http או https</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not encrypted: only https is used, except on this machine</source>
        <translation>&quot;%1&quot; אינה מוצפנת: רק https משמש, מלבד במחשב זה עצמו</translation>
    </message>
    <message>
        <source>the sync was stopped</source>
        <translation>הסנכרון הופסק</translation>
    </message>
    <message>
        <source>the server did not answer within %1 seconds</source>
        <translation>השרת לא ענה תוך %1 שניות</translation>
    </message>
    <message>
        <source>the server&apos;s certificate is not trusted by this system (SHA-256 %1)</source>
        <translation>מערכת זו אינה סומכת על האישור של השרת (SHA-256 %1)</translation>
    </message>
    <message>
        <source>redirect without a Location</source>
        <translation>הפניה בלי Location</translation>
    </message>
    <message>
        <source>too many redirects (a redirect loop)</source>
        <translation>יותר מדי הפניות (לולאת הפניות)</translation>
    </message>
    <message>
        <source>the server refused the user name or password (401)</source>
        <translation>השרת דחה את שם המשתמש או את הסיסמה (401)</translation>
    </message>
    <message>
        <source>the server does not allow it (403)</source>
        <translation>השרת אינו מתיר זאת (403)</translation>
    </message>
    <message>
        <source>the server answered %1%2</source>
        <translation>השרת השיב %1%2</translation>
    </message>
</context>
<context>
    <name>DavXml</name>
    <message>
        <source>a tag</source>
        <translation>תג</translation>
    </message>
    <message>
        <source>a processing instruction</source>
        <translation>הוראת עיבוד</translation>
    </message>
    <message>
        <source>malformed XML: %1 longer than %2 kB</source>
        <translation>XML שגוי: %1 ארוך מ-%2 kB</translation>
    </message>
    <message>
        <source>the card is larger than %1 MB</source>
        <translation>הכרטיס גדול מ-%1 MB</translation>
    </message>
    <message>
        <source>the card is larger than %1 kB</source>
        <translation>הכרטיס גדול מ-%1 kB</translation>
    </message>
    <message>
        <source>the card holds characters XML does not allow</source>
        <translation>בכרטיס יש תווים ש-XML אינו מתיר</translation>
    </message>
    <message>
        <source>the answer is no WebDAV multistatus</source>
        <translation>התשובה אינה multistatus של WebDAV</translation>
    </message>
    <message>
        <source>malformed XML at line %1: %2</source>
        <translation>XML שגוי בשורה %1: %2</translation>
    </message>
    <message>
        <source>the answer is empty</source>
        <translation>התשובה ריקה</translation>
    </message>
</context>
<context>
    <name>DbError</name>
    <message>
        <source>The database file is damaged and was opened for reading only, so that nothing more of it is lost. Nothing was saved (%1).</source>
        <translation>קובץ מסד הנתונים פגום ונפתח לקריאה בלבד, כדי שלא יאבד ממנו דבר נוסף. לא נשמר דבר (%1).</translation>
    </message>
    <message>
        <source>The database file is being checked for damage, as at every start, and takes no changes until the check has ended, in a moment. Nothing was saved; try again (%1).</source>
        <translation>קובץ מסד הנתונים נבדק לאיתור נזק, כמו בכל הפעלה, ואינו מקבל שינויים עד שהבדיקה תסתיים, בעוד רגע. דבר לא נשמר; נסה שוב (%1).</translation>
    </message>
    <message>
        <source>The value was refused: %1.</source>
        <translation>הערך נדחה: %1.</translation>
    </message>
    <message>
        <source>The database file has no table %1: it is damaged or was made by another program (%2).</source>
        <translation>אין בקובץ מסד הנתונים טבלה %1: הוא פגום או שנוצר בתוכנה אחרת (%2).</translation>
    </message>
    <message>
        <source>The file is not a database of this program, or it is damaged (%1).</source>
        <translation>הקובץ אינו מסד נתונים של תוכנה זו, או שהוא פגום (%1).</translation>
    </message>
    <message>
        <source>The database file is damaged (%1).</source>
        <translation>קובץ מסד הנתונים פגום (%1).</translation>
    </message>
    <message>
        <source>The database file cannot be written: it or its folder is read-only. Nothing was saved (%1).</source>
        <translation>לא ניתן לכתוב בקובץ מסד הנתונים: הוא או התיקייה שלו לקריאה בלבד. לא נשמר דבר (%1).</translation>
    </message>
    <message>
        <source>The database file is in use by another program, which did not let go of it for a few seconds; try again (%1).</source>
        <translation>קובץ מסד הנתונים תפוס בידי תוכנה אחרת, שלא שחררה אותו במשך כמה שניות; נסו שוב (%1).</translation>
    </message>
    <message>
        <source>The disk or the database file is full (%1).</source>
        <translation>הדיסק או קובץ מסד הנתונים מלאים (%1).</translation>
    </message>
    <message>
        <source>The database file could not be read or written: the disk may be full, removed or failing (%1).</source>
        <translation>לא ניתן היה לקרוא או לכתוב את קובץ מסד הנתונים: ייתכן שהדיסק מלא, נותק או תקול (%1).</translation>
    </message>
    <message>
        <source>%1
Database file: %2</source>
        <translation>%1
קובץ מסד הנתונים: %2</translation>
    </message>
</context>
<context>
    <name>Discovery</name>
    <message>
        <source>%1 names no address books for this user</source>
        <translation>ב-%1 אין פנקסי כתובות למשתמש זה</translation>
    </message>
    <message>
        <source>%1 names no task lists for this user</source>
        <translation>ב-%1 אין רשימות משימות למשתמש זה</translation>
    </message>
    <message>
        <source>Making the task list &quot;%1&quot; at %2: %3</source>
        <translation>יצירת רשימת המשימות &quot;%1&quot; ב-%2: %3</translation>
    </message>
    <message>
        <source>Making the address book &quot;%1&quot; at %2: %3</source>
        <translation>יצירת פנקס הכתובות &quot;%1&quot; ב-%2: %3</translation>
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
        <translation>תאריך</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>שעה</translation>
    </message>
    <message>
        <source>From</source>
        <translation>מאת</translation>
    </message>
    <message>
        <source>To</source>
        <translation>אל</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>הודעה</translation>
    </message>
</context>
<context>
    <name>GridWriter</name>
    <message>
        <source>The row was changed or deleted elsewhere since the grid showed it, so nothing was written. The grid now shows the row as stored.</source>
        <translation>השורה שונתה או נמחקה במקום אחר מאז שהטבלה הציגה אותה, ולכן לא נכתב דבר. הטבלה מציגה עכשיו את השורה כפי שהיא שמורה.</translation>
    </message>
    <message>
        <source>Item not found in this collection: %1.</source>
        <translation>הפריט לא נמצא באוסף זה: %1.</translation>
    </message>
    <message>
        <source>The column %1 holds at most %2 characters; the %3 typed were not written, and the cell keeps what is stored.</source>
        <translation>העמודה %1 מכילה לכל היותר %2 תווים; %3 התווים שהוקלדו לא נכתבו, והתא נשאר כפי שהוא שמור.</translation>
    </message>
    <message>
        <source>Edit of %1</source>
        <translation>עריכת %1</translation>
    </message>
    <message>
        <source>Deletion of 1 Message</source>
        <translation>מחיקת הודעה אחת</translation>
    </message>
    <message numerus="yes">
        <source>Deletion of %n Messages</source>
        <translation>
            <numerusform>מחיקת הודעה אחת</numerusform>
            <numerusform>מחיקת %n הודעות</numerusform>
        </translation>
    </message>
    <message>
        <source>Deletion of 1 Entry</source>
        <translation>מחיקת רשומה אחת</translation>
    </message>
    <message numerus="yes">
        <source>Deletion of %n Entries</source>
        <translation>
            <numerusform>מחיקת רשומה אחת</numerusform>
            <numerusform>מחיקת %n רשומות</numerusform>
        </translation>
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
    <name>JetReader</name>
    <message>
        <source>the table %1 cannot be read</source>
        <translation>לא ניתן לקרוא את הטבלה %1</translation>
    </message>
    <message>
        <source>the columns of %1 cannot be read</source>
        <translation>לא ניתן לקרוא את העמודות של %1</translation>
    </message>
    <message>
        <source>a row of %1 cannot be found</source>
        <translation>לא ניתן למצוא שורה של %1</translation>
    </message>
    <message>
        <source>a row of %1 cannot be read</source>
        <translation>לא ניתן לקרוא שורה של %1</translation>
    </message>
    <message>
        <source>a value in %1.%2 is damaged: part of it cannot be read</source>
        <translation>ערך ב-%1.%2 פגום: לא ניתן לקרוא חלק ממנו</translation>
    </message>
    <message>
        <source>a date in %1 cannot be read</source>
        <translation>לא ניתן לקרוא תאריך ב-%1</translation>
    </message>
    <message>
        <source>a value in %1.%2 is too long to be read whole</source>
        <translation>ערך ב-%1.%2 ארוך מכדי לקרוא אותו בשלמותו</translation>
    </message>
    <message>
        <source>the table %1 is damaged: it holds %2 rows, of which %3 could be read</source>
        <translation>הטבלה %1 פגומה: יש בה %2 שורות, ורק %3 מהן ניתן היה לקרוא</translation>
    </message>
    <message>
        <source>its list of tables cannot be read (the file is damaged or encrypted)</source>
        <translation>לא ניתן לקרוא את רשימת הטבלאות שבו (הקובץ פגום או מוצפן)</translation>
    </message>
    <message>
        <source>its list of tables is damaged: some of it cannot be read</source>
        <translation>רשימת הטבלאות שבו פגומה: לא ניתן לקרוא חלק ממנה</translation>
    </message>
    <message>
        <source>the file&apos;s bytes did not arrive</source>
        <translation>תוכן הקובץ לא הגיע</translation>
    </message>
    <message>
        <source>it is larger than 256 MB</source>
        <translation>הוא גדול מ-256 MB</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>הוא ריק</translation>
    </message>
    <message>
        <source>it is too short to be an Access database file</source>
        <translation>הוא קצר מכדי להיות קובץ מסד נתונים של Access</translation>
    </message>
    <message>
        <source>it is not an Access database file that can be read</source>
        <translation>הוא אינו קובץ מסד נתונים של Access שניתן לקרוא</translation>
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
    <name>LetterKeys</name>
    <message>
        <source>The names of the letter could not be read.</source>
        <translation>לא ניתן היה לקרוא את השמות של האות.</translation>
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
    <name>MergeRules</name>
    <message>
        <source>%1 was deleted on the server and changed here; it is created there again.</source>
        <translation>%1 נמחק בשרת ושונה כאן; הוא נוצר שם מחדש.</translation>
    </message>
    <message>
        <source>%1 holds no name and no number on the server any more; it was deleted here.</source>
        <translation>ל-%1 אין עוד שם ואין מספר בשרת; הוא נמחק כאן.</translation>
    </message>
    <message>
        <source>%1: the server&apos;s card holds no name and no number any more; the entry as edited here goes back.</source>
        <translation>%1: בכרטיס שבשרת אין עוד שם ואין מספר; הרשומה כפי שנערכה כאן נשלחת אליו בחזרה.</translation>
    </message>
    <message>
        <source>%1: %2 was changed here to &quot;%3&quot; and on the server to &quot;%4&quot;; the server&apos;s value was kept.</source>
        <translation>%1: %2 שונה כאן ל-&quot;%3&quot; ובשרת ל-&quot;%4&quot;; נשמר הערך שבשרת.</translation>
    </message>
    <message>
        <source>%1 was deleted here and changed on the server; it was brought back.</source>
        <translation>%1 נמחק כאן ושונה בשרת; הוא הוחזר.</translation>
    </message>
    <message>
        <source>(an entry)</source>
        <translation>(רשומה)</translation>
    </message>
</context>
<context>
    <name>MessageCommandLine</name>
    <message>
        <source>There is no message %1: the log is empty. Nothing was changed.
</source>
        <translation>אין הודעה %1: היומן ריק. לא שונה דבר.
</translation>
    </message>
    <message>
        <source>There is no message %1: the log&apos;s messages are numbered 1 to %2, as --messages lists them. Nothing was changed.
</source>
        <translation>אין הודעה %1: ההודעות ביומן ממוספרות מ-1 עד %2, כפי ש---messages מציג אותן. לא שונה דבר.
</translation>
    </message>
    <message>
        <source>Message %1 (%2 %3, from %4 for %5)</source>
        <translation>הודעה %1 (%2 %3, מאת %4 אל %5)</translation>
    </message>
    <message>
        <source>%1 was marked done already (%2 by %3); nothing was changed.
</source>
        <translation>%1 כבר סומנה כטופלה (%2 בידי %3); לא שונה דבר.
</translation>
    </message>
    <message>
        <source>%1 is marked done.
</source>
        <translation>%1 סומנה כטופלה.
</translation>
    </message>
    <message>
        <source>Lists the message log, newest first, one numbered message a line: number, date, time, From, To, message and state, separated by tabs.</source>
        <translation>מציג את יומן ההודעות, מהחדשה לישנה, הודעה ממוספרת אחת בכל שורה: מספר, תאריך, שעה, מאת, אל, ההודעה ומצבה, מופרדים בטאבים.</translation>
    </message>
    <message>
        <source>Lists only the messages not marked done.</source>
        <translation>מציג רק את ההודעות שלא סומנו כטופלו.</translation>
    </message>
    <message>
        <source>Lists only the messages left for NAME (To, letter case ignored).</source>
        <translation>מציג רק את ההודעות שהושארו עבור NAME (השדה &quot;אל&quot;, בלי הבדל בין אותיות גדולות לקטנות).</translation>
    </message>
    <message>
        <source>Marks the message --messages numbered N done, as the log&apos;s &quot;Mark Done&quot; does.</source>
        <translation>מסמן כטופלה את ההודעה ש---messages מציג במספר N, כמו &quot;סמן כטופלה&quot; ביומן.</translation>
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
        <translation>ההודעה נמחקה במקום אחר מאז שהיומן הציג אותה; לא שונה דבר.</translation>
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
    <name>MessageNotice</name>
    <message>
        <source>(no name)</source>
        <translation>(ללא שם)</translation>
    </message>
    <message>
        <source>Message for %1 from %2</source>
        <translation>הודעה עבור %1 מאת %2</translation>
    </message>
    <message numerus="yes">
        <source>%n new messages</source>
        <translation>
            <numerusform>הודעה חדשה אחת</numerusform>
            <numerusform>%n הודעות חדשות</numerusform>
        </translation>
    </message>
    <message>
        <source>New in the message log.</source>
        <translation>חדש ביומן ההודעות.</translation>
    </message>
    <message>
        <source>The first is for %1 from %2.</source>
        <translation>הראשונה עבור %1 מאת %2.</translation>
    </message>
    <message>
        <source>Show Message</source>
        <translation>הצג הודעה</translation>
    </message>
    <message>
        <source>The message for %1 from %2 is in the message log.</source>
        <translation>ההודעה עבור %1 מאת %2 נמצאת ביומן ההודעות.</translation>
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
        <translation>הודעה עבור %1 מאת %2</translation>
    </message>
    <message>
        <source>Message for %1</source>
        <translation>הודעה עבור %1</translation>
    </message>
    <message>
        <source>Message from %1</source>
        <translation>הודעה מאת %1</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>הודעה</translation>
    </message>
    <message>
        <source>Call back: %1</source>
        <translation>להתקשר בחזרה: %1</translation>
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
    <name>PhoneNumbers</name>
    <message>
        <source>longer than any telephone number</source>
        <translation>ארוך מכל מספר טלפון</translation>
    </message>
    <message>
        <source>not a telephone number</source>
        <translation>אינו מספר טלפון</translation>
    </message>
    <message>
        <source>not ten digits</source>
        <translation>אין בו עשר ספרות</translation>
    </message>
    <message>
        <source>a number of another country</source>
        <translation>מספר של ארץ אחרת</translation>
    </message>
    <message>
        <source>extension %1</source>
        <translation>שלוחה %1</translation>
    </message>
    <message>
        <source>the telephone rules could not be loaded</source>
        <translation>לא ניתן היה לטעון את כללי הטלפון</translation>
    </message>
</context>
<context>
    <name>PhoneRules</name>
    <message>
        <source>Tovrin: the telephone rules could not be loaded; numbers are read as ten digits only (%1)</source>
        <translation>Tovrin: לא ניתן היה לטעון את כללי הטלפון; מספרים נקראים כעשר ספרות בלבד (%1)</translation>
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
    <name>Printing</name>
    <message>
        <source>Printing is not available: %1</source>
        <translation>ההדפסה אינה זמינה: %1</translation>
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
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>שימוש: %1</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>אפשרויות:</translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation>ארגומנטים:</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>מציג עזרה על אפשרויות שורת הפקודה.</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>מציג עזרה, כולל האפשרויות של Qt.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>מציג את פרטי הגרסה.</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[אפשרויות]</translation>
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
    <name>Recordset</name>
    <message>
        <source>The table %1 has no key column.</source>
        <translation>לטבלה %1 אין עמודת מפתח.</translation>
    </message>
    <message>
        <source>There is no current record.</source>
        <translation>אין רשומה נוכחית.</translation>
    </message>
    <message>
        <source>Item not found in this collection: %1.</source>
        <translation>הפריט לא נמצא באוסף זה: %1.</translation>
    </message>
    <message>
        <source>This record set cannot take new rows.</source>
        <translation>לא ניתן להוסיף שורות חדשות לקבוצת רשומות זו.</translation>
    </message>
    <message>
        <source>This record set cannot be edited.</source>
        <translation>לא ניתן לערוך קבוצת רשומות זו.</translation>
    </message>
    <message>
        <source>The entry was deleted elsewhere, so it cannot be opened.</source>
        <translation>הרשומה נמחקה במקום אחר, ולכן לא ניתן לפתוח אותה.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date, so it cannot be stored in the field %2.</source>
        <translation>&quot;%1&quot; אינו תאריך, ולכן לא ניתן לשמור אותו בשדה %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a time of day, so it cannot be stored in the field %2.</source>
        <translation>&quot;%1&quot; אינו שעה, ולכן לא ניתן לשמור אותו בשדה %2.</translation>
    </message>
    <message>
        <source>Update or CancelUpdate without AddNew or Edit.</source>
        <translation>Update או CancelUpdate בלי AddNew או Edit.</translation>
    </message>
    <message>
        <source>Saved Message</source>
        <translation>שמירת הודעה</translation>
    </message>
    <message>
        <source>Saved Entry</source>
        <translation>שמירת רשומה</translation>
    </message>
    <message>
        <source>Edit of Message</source>
        <translation>עריכת הודעה</translation>
    </message>
    <message>
        <source>Edit of Entry</source>
        <translation>עריכת רשומה</translation>
    </message>
    <message>
        <source>The entry was changed or deleted elsewhere since it was opened, so nothing was written. Cancel and open it again to see it as stored.</source>
        <translation>הרשומה שונתה או נמחקה במקום אחר מאז שנפתחה, ולכן לא נכתב דבר. יש לבטל ולפתוח אותה שוב כדי לראות אותה כפי שהיא שמורה.</translation>
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
    <name>SyncCommandLine</name>
    <message>
        <source>The server has the address books %1, none of them for %2. Name the address book of each book with --personal NAME and --business NAME (the same one may take both books; a name the server does not have is made there, empty).
Nothing was changed.
</source>
        <translation>בשרת יש את פנקסי הכתובות %1, ואף אחד מהם אינו מיועד ל-%2. יש לציין את פנקס הכתובות של כל ספר בעזרת --personal NAME ו---business NAME (אותו פנקס יכול לשמש לשני הספרים; שם שאין בשרת ייווצר שם כפנקס ריק).
לא שונה דבר.
</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 ו-%2</translation>
    </message>
    <message>
        <source>%1
The server has no address books. Name them with --personal and --business (the same one takes both books).
Nothing was changed.
</source>
        <translation>%1
אין בשרת פנקסי כתובות. יש לציין אותם בעזרת --personal ו---business (אותו פנקס יכול לשמש לשני הספרים).
לא שונה דבר.
</translation>
    </message>
    <message>
        <source>%1
The address books there: %2. Name them with --personal and --business (the same one takes both books).
Nothing was changed.
</source>
        <translation>%1
פנקסי הכתובות שבשרת: %2. יש לציין אותם בעזרת --personal ו---business (אותו פנקס יכול לשמש לשני הספרים).
לא שונה דבר.
</translation>
    </message>
    <message>
        <source>The messages do not sync: %1
</source>
        <translation>ההודעות אינן מסונכרנות: %1
</translation>
    </message>
    <message>
        <source>The task list could not be set up: %1
</source>
        <translation>לא ניתן היה להגדיר את רשימת המשימות: %1
</translation>
    </message>
    <message>
        <source>Both books sync with %1.
</source>
        <translation>שני הספרים מסונכרנים עם %1.
</translation>
    </message>
    <message>
        <source>&quot;Personal&quot; syncs with %1.
&quot;Business&quot; syncs with %2.
</source>
        <translation>&quot;אישי&quot; מסונכרן עם %1.
&quot;עסקי&quot; מסונכרן עם %2.
</translation>
    </message>
    <message>
        <source>The messages sync with %1.
</source>
        <translation>ההודעות מסונכרנות עם %1.
</translation>
    </message>
    <message>
        <source>The password could not be kept (%1): give it with --sync --password-stdin.
</source>
        <translation>לא ניתן היה לשמור את הסיסמה (%1): יש לתת אותה בעזרת --sync --password-stdin.
</translation>
    </message>
    <message>
        <source>The password is kept in %1, readable by you alone: %2.
</source>
        <translation>הסיסמה שמורה ב-%1, שרק לך יש הרשאה לקרוא: %2.
</translation>
    </message>
    <message>
        <source>The password is kept in %1.
</source>
        <translation>הסיסמה שמורה ב-%1.
</translation>
    </message>
    <message>
        <source>--sync-setup needs --user NAME.
</source>
        <translation>האפשרות --sync-setup דורשת גם --user NAME.
</translation>
    </message>
    <message>
        <source>Give the password on standard input with --password-stdin.
</source>
        <translation>יש לתת את הסיסמה בקלט התקני בעזרת --password-stdin.
</translation>
    </message>
    <message>
        <source>The address books could not be found: %1
Nothing was changed.
</source>
        <translation>לא ניתן היה למצוא את פנקסי הכתובות: %1
לא שונה דבר.
</translation>
    </message>
    <message>
        <source>If that is the certificate of your server, set up again with --trust-certificate %1
</source>
        <translation>אם זה האישור של השרת שלך, יש להגדיר שוב עם --trust-certificate %1
</translation>
    </message>
    <message>
        <source>To delete them here as well (a copy of the file is kept first): tovrin --sync --force-delete
</source>
        <translation>כדי למחוק אותן גם כאן (לפני כן נשמר עותק של הקובץ): tovrin --sync --force-delete
</translation>
    </message>
    <message>
        <source>Sets up the sync of both books with the CardDAV server at URL for the user --user NAME, the password read with --password-stdin; --personal and --business name the address books, --tasks the task list of the messages (&quot;Messages&quot; unless named; made when missing), --trust-certificate accepts a certificate the system does not trust by its SHA-256 digest.</source>
        <translation>מגדיר את הסנכרון של שני הספרים עם שרת ה-CardDAV שבכתובת URL עבור המשתמש --user NAME, כשהסיסמה נקראת בעזרת --password-stdin; --personal ו---business מציינים את פנקסי הכתובות, --tasks את רשימת המשימות של ההודעות (&quot;Messages&quot; אם לא צוין אחרת; נוצרת אם חסרה), ו---trust-certificate מקבל אישור שהמערכת אינה סומכת עליו, לפי תמצית ה-SHA-256 שלו.</translation>
    </message>
    <message>
        <source>Syncs both books with the server once (exit 0 all done, 1 something reported, 2 an error); --password-stdin reads the password.</source>
        <translation>מסנכרן את שני הספרים עם השרת פעם אחת (קוד יציאה 0 – הכול נעשה, 1 – יש דבר לדווח, 2 – שגיאה); --password-stdin קורא את הסיסמה.</translation>
    </message>
    <message>
        <source>With --sync: deletes here the entries the server no longer lists, however many (a copy of the file is kept first).</source>
        <translation>עם --sync: מוחק כאן את הרשומות שהשרת כבר אינו מציג, יהיה מספרן אשר יהיה (לפני כן נשמר עותק של הקובץ).</translation>
    </message>
    <message>
        <source>The user name on the server.</source>
        <translation>שם המשתמש בשרת.</translation>
    </message>
    <message>
        <source>Reads the password from standard input.</source>
        <translation>קורא את הסיסמה מהקלט התקני.</translation>
    </message>
    <message>
        <source>The address book of &quot;Personal&quot;.</source>
        <translation>פנקס הכתובות של &quot;אישי&quot;.</translation>
    </message>
    <message>
        <source>The address book of &quot;Business&quot;.</source>
        <translation>פנקס הכתובות של &quot;עסקי&quot;.</translation>
    </message>
    <message>
        <source>The task list the messages sync with (&quot;Messages&quot; unless named; made on the server when it has none of that name).</source>
        <translation>רשימת המשימות שההודעות מסונכרנות איתה (&quot;Messages&quot; אם לא צוין אחרת; נוצרת בשרת אם אין בו רשימה בשם זה).</translation>
    </message>
    <message>
        <source>Accepts the server&apos;s certificate of this SHA-256 digest.</source>
        <translation>מקבל את אישור השרת שזו תמצית ה-SHA-256 שלו.</translation>
    </message>
</context>
<context>
    <name>SyncFile</name>
    <message>
        <source>no server is set up: use &quot;Sync Settings...&quot; or tovrin --sync-setup</source>
        <translation>לא הוגדר שרת: יש להשתמש ב&quot;הגדרות סנכרון...&quot; או ב-tovrin --sync-setup</translation>
    </message>
    <message>
        <source>no password is kept for %1: set it up again, or give it with --password-stdin</source>
        <translation>לא שמורה סיסמה עבור %1: יש להגדיר שוב, או לתת אותה בעזרת --password-stdin</translation>
    </message>
    <message>
        <source>Last sync %1: %2</source>
        <translation>הסנכרון האחרון %1: %2</translation>
    </message>
</context>
<context>
    <name>SyncReport</name>
    <message>
        <source>1 entry of %1 is no longer on the server (%2): it was not deleted here, and nothing of that address book was written.</source>
        <translation>רשומה אחת של %1 כבר אינה בשרת (%2): היא לא נמחקה כאן, ולא נכתב דבר מפנקס כתובות זה.</translation>
    </message>
    <message numerus="yes">
        <source>%n entries of %1 are no longer on the server (%2): nothing was deleted here, and nothing of that address book was written.</source>
        <translation>
            <numerusform>רשומה אחת של %1 כבר אינה בשרת (%2): היא לא נמחקה כאן, ולא נכתב דבר מפנקס כתובות זה.</numerusform>
            <numerusform>%n רשומות של %1 כבר אינן בשרת (%2): דבר לא נמחק כאן, ולא נכתב דבר מפנקס כתובות זה.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 received, %2 deleted here, %3 sent, %4 deleted on the server.</source>
        <translation>התקבלו: %1, נמחקו כאן: %2, נשלחו: %3, נמחקו בשרת: %4.</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>שגיאה: %1</translation>
    </message>
</context>
<context>
    <name>SyncRun</name>
    <message>
        <source>The sync of %1 is paused: &quot;Sync Now...&quot; asks again what to do with the entries the server no longer lists.</source>
        <translation>הסנכרון של %1 מושהה: &quot;סנכרן עכשיו...&quot; ישאל שוב מה לעשות ברשומות שהשרת כבר אינו מציג.</translation>
    </message>
    <message numerus="yes">
        <source>%n more values of the server&apos;s cards could not be placed in their entries.</source>
        <translation>
            <numerusform>ערך נוסף אחד מכרטיסי השרת לא מצא מקום ברשומה שלו.</numerusform>
            <numerusform>%n ערכים נוספים מכרטיסי השרת לא מצאו מקום ברשומות שלהם.</numerusform>
        </translation>
    </message>
    <message>
        <source>the card is no vCard</source>
        <translation>הכרטיס אינו vCard</translation>
    </message>
    <message>
        <source>The card %1 on the server was left out: %2.</source>
        <translation>הכרטיס %1 שבשרת הושמט: %2.</translation>
    </message>
    <message>
        <source>The server named %1, which is no card of %2: it was ignored, and nothing is sent to it.</source>
        <translation>השרת ציין את %1, שאינו כרטיס של %2: הוא לא נלקח בחשבון, ודבר לא יישלח אליו.</translation>
    </message>
    <message>
        <source>The card %1</source>
        <translation>הכרטיס %1</translation>
    </message>
    <message>
        <source>%1 (card %2)</source>
        <translation>%1 (כרטיס %2)</translation>
    </message>
    <message>
        <source>%1%2: %3.</source>
        <translation>%1%2: %3.</translation>
    </message>
    <message>
        <source>%1: %2%3 %4.</source>
        <translation>%1: %2%3 %4.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; and &quot;%2&quot;</source>
        <translation>&quot;%1&quot; ו-&quot;%2&quot;</translation>
    </message>
    <message>
        <source>The server refused to move %1 to %2 (%3%4).</source>
        <translation>השרת סירב להעביר את %1 אל %2 (%3%4).</translation>
    </message>
    <message>
        <source>the address book is missing on the server (404)</source>
        <translation>פנקס הכתובות חסר בשרת (404)</translation>
    </message>
    <message>
        <source>Reading the cards of %1</source>
        <translation>קריאת הכרטיסים של %1</translation>
    </message>
    <message>
        <source>Reading the cards of %1: %2</source>
        <translation>קריאת הכרטיסים של %1: %2</translation>
    </message>
    <message>
        <source>Entries were changed here during the sync; they go at the next sync.</source>
        <translation>רשומות שונו כאן בזמן הסנכרון; הן יישלחו בסנכרון הבא.</translation>
    </message>
    <message>
        <source>Moving %1 to %2</source>
        <translation>העברת %1 אל %2</translation>
    </message>
    <message>
        <source>Sending %1 to %2</source>
        <translation>שליחת %1 אל %2</translation>
    </message>
    <message>
        <source>The server refused %1 (%2%3).</source>
        <translation>השרת דחה את %1 (%2%3).</translation>
    </message>
    <message>
        <source>Deleting %1 on %2</source>
        <translation>מחיקת %1 ב-%2</translation>
    </message>
    <message>
        <source>The server refused to delete %1 (%2%3).</source>
        <translation>השרת סירב למחוק את %1 (%2%3).</translation>
    </message>
    <message>
        <source>The server refused the new card of %1 (%2%3).</source>
        <translation>השרת דחה את הכרטיס החדש של %1 (%2%3).</translation>
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
    <name>TargetFile</name>
    <message>
        <source>no file name was given</source>
        <translation>לא ניתן שם קובץ</translation>
    </message>
    <message>
        <source>it is a link to the directory file itself</source>
        <translation>זהו קישור לקובץ ספר הטלפונים עצמו</translation>
    </message>
    <message>
        <source>it is a symbolic link; name the file it points to instead</source>
        <translation>זהו קישור סמלי; יש לציין במקומו את הקובץ שהוא מפנה אליו</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>זו תיקייה</translation>
    </message>
    <message>
        <source>it is not a regular file but a device, a pipe or a socket</source>
        <translation>זה אינו קובץ רגיל אלא התקן, צינור או שקע</translation>
    </message>
    <message>
        <source>it is the directory file itself</source>
        <translation>זהו קובץ ספר הטלפונים עצמו</translation>
    </message>
    <message>
        <source>it belongs to another user</source>
        <translation>הוא שייך למשתמש אחר</translation>
    </message>
    <message>
        <source>it is one of the files of the directory itself</source>
        <translation>זהו אחד הקבצים של ספר הטלפונים עצמו</translation>
    </message>
    <message>
        <source>the file came out incomplete%1</source>
        <translation>הקובץ נכתב חלקית בלבד%1</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2.</source>
        <translation>לא ניתן לכתוב את &quot;%1&quot;: %2.</translation>
    </message>
</context>
<context>
    <name>TaskRules</name>
    <message>
        <source>the date and time</source>
        <translation>התאריך והשעה</translation>
    </message>
    <message>
        <source>From</source>
        <translation>מאת</translation>
    </message>
    <message>
        <source>To</source>
        <translation>אל</translation>
    </message>
    <message>
        <source>the message</source>
        <translation>תוכן ההודעה</translation>
    </message>
    <message>
        <source>done</source>
        <translation>טופלה</translation>
    </message>
    <message>
        <source>call back</source>
        <translation>לחזור אליו</translation>
    </message>
    <message>
        <source>urgent</source>
        <translation>דחוף</translation>
    </message>
    <message>
        <source>%1: %2 was changed here and on the server; the server&apos;s was kept.</source>
        <translation>%1: %2 שונה גם כאן וגם בשרת; נשמר מה שבשרת.</translation>
    </message>
    <message>
        <source>%1 was deleted on the server and changed here; it is sent again.</source>
        <translation>%1 נמחקה בשרת ושונתה כאן; היא נשלחת שוב.</translation>
    </message>
    <message>
        <source>%1 is no task on the server any more; it was deleted here.</source>
        <translation>%1 כבר אינה משימה בשרת; היא נמחקה כאן.</translation>
    </message>
    <message>
        <source>%1 is no task on the server any more; the message as edited here goes back.</source>
        <translation>%1 כבר אינה משימה בשרת; ההודעה כפי שנערכה כאן נשלחת בחזרה.</translation>
    </message>
    <message>
        <source>%1 was deleted here and changed on the server; it was brought back.</source>
        <translation>%1 נמחקה כאן ושונתה בשרת; היא הוחזרה.</translation>
    </message>
    <message>
        <source>The message for &quot;%1&quot; from &quot;%2&quot; of %3</source>
        <translation>ההודעה אל &quot;%1&quot; מאת &quot;%2&quot; מ-%3</translation>
    </message>
</context>
<context>
    <name>TaskSync</name>
    <message>
        <source>The sync of the message log is paused: &quot;Sync Now...&quot; asks again what to do with the messages the server no longer lists.</source>
        <translation>הסנכרון של יומן ההודעות מושהה: &quot;סנכרן עכשיו...&quot; ישאל שוב מה לעשות בהודעות שהשרת כבר אינו מציג.</translation>
    </message>
    <message>
        <source>the task list is missing on the server (404)</source>
        <translation>רשימת המשימות חסרה בשרת (404)</translation>
    </message>
    <message>
        <source>The server refused %1 (%2%3).</source>
        <translation>השרת דחה את %1 (%2%3).</translation>
    </message>
    <message>
        <source>The server named %1, which is no task of %2: it was ignored, and nothing is sent to it.</source>
        <translation>השרת ציין את %1, שאינו משימה של %2: הוא לא נלקח בחשבון, ודבר לא יישלח אליו.</translation>
    </message>
    <message>
        <source>Messages</source>
        <translation>הודעות</translation>
    </message>
    <message>
        <source>Messages were changed here during the sync; they go at the next sync.</source>
        <translation>הודעות שונו כאן בזמן הסנכרון; הן יישלחו בסנכרון הבא.</translation>
    </message>
    <message>
        <source>Reading the tasks of %1</source>
        <translation>קריאת המשימות של %1</translation>
    </message>
    <message>
        <source>Reading the tasks of %1: %2</source>
        <translation>קריאת המשימות של %1: %2</translation>
    </message>
    <message>
        <source>it is no iCalendar text</source>
        <translation>אין זה טקסט iCalendar</translation>
    </message>
    <message>
        <source>The task %1 on the server was left out: %2.</source>
        <translation>המשימה %1 שבשרת הושמטה: %2.</translation>
    </message>
    <message>
        <source>the message log</source>
        <translation>יומן ההודעות</translation>
    </message>
    <message>
        <source>Sending %1</source>
        <translation>שליחת %1</translation>
    </message>
    <message>
        <source>Deleting %1</source>
        <translation>מחיקת %1</translation>
    </message>
</context>
<context>
    <name>Transports</name>
    <message>
        <source>the network module could not be loaded: %1</source>
        <translation>לא ניתן היה לטעון את רכיב הרשת: %1</translation>
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
    <name>UndoLog</name>
    <message>
        <source>&quot;%1&quot; cannot be taken back or done again: a row it changed was changed or deleted elsewhere since (another copy of the program or another tool). Nothing was changed.</source>
        <translation>לא ניתן לבטל את &quot;%1&quot; או לבצע אותו שוב: שורה שהוא שינה שונתה או נמחקה מאז במקום אחר (עותק אחר של התוכנה או כלי אחר). לא שונה דבר.</translation>
    </message>
</context>
<context>
    <name>VCardParser</name>
    <message>
        <source>the card has no END:VCARD; read up to the end of the file</source>
        <translation>אין בכרטיס END:VCARD; נקרא עד סוף הקובץ</translation>
    </message>
    <message>
        <source>text that names no character set is not UTF-8; read as %1</source>
        <translation>טקסט שאינו מציין ערכת תווים אינו UTF-8; נקרא כ-%1</translation>
    </message>
    <message>
        <source>the card has no END:VCARD; read up to the next BEGIN:VCARD</source>
        <translation>אין בכרטיס END:VCARD; נקרא עד ה-BEGIN:VCARD הבא</translation>
    </message>
    <message>
        <source>unknown character set; the text is read as if the line named none</source>
        <translation>ערכת תווים לא מוכרת; הטקסט נקרא כאילו השורה לא ציינה אף אחת</translation>
    </message>
    <message>
        <source>line outside any card left out</source>
        <translation>שורה שמחוץ לכל כרטיס הושמטה</translation>
    </message>
    <message>
        <source>line unreadable left out</source>
        <translation>שורה שלא ניתן לקרוא הושמטה</translation>
    </message>
    <message numerus="yes">
        <source>%n lines outside any card left out</source>
        <translation>
            <numerusform>שורה שמחוץ לכל כרטיס הושמטה</numerusform>
            <numerusform>%n שורות שמחוץ לכל כרטיס הושמטו</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n lines unreadable left out</source>
        <translation>
            <numerusform>שורה שלא ניתן לקרוא הושמטה</numerusform>
            <numerusform>%n שורות שלא ניתן לקרוא הושמטו</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>VCardReader</name>
    <message>
        <source>left out: the card holds more numbers than an entry can</source>
        <translation>הושמט: בכרטיס יש יותר מספרים ממה שרשומה יכולה להכיל</translation>
    </message>
    <message>
        <source>nothing read: the file holds no vCard (no BEGIN:VCARD line)</source>
        <translation>לא נקרא דבר: אין בקובץ vCard (אין שורת BEGIN:VCARD)</translation>
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
