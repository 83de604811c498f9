<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutBox</name>
    <message>
        <source>Warning: this program is protected by copyright. Do not copy it or pass it on without the consent of its maker.</source>
        <translation>Warnung: Dieses Programm ist urheberrechtlich geschützt. Kopieren Sie es nicht und geben Sie es nicht ohne die Zustimmung seines Herstellers weiter.</translation>
    </message>
    <message>
        <source>Papyra ™  is an easy to use file tracking system that will make your life easier in minutes!</source>
        <translation>Papyra ™  ist ein leicht zu bedienendes Ablagesystem, das Ihnen das Leben in wenigen Minuten leichter macht!</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;System Info...</source>
        <translation>&amp;Systeminfo...</translation>
    </message>
    <message>
        <source>About Papyra (TM)</source>
        <translation>Über Papyra (TM)</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
</context>
<context>
    <name>AddFilesPanel</name>
    <message>
        <source>F5 - Jump To Next &amp;Open Slot</source>
        <translation>F5 - Zum nächsten &amp;freien Platz</translation>
    </message>
    <message>
        <source>F6 - Jump To &amp;Top</source>
        <translation>F6 - Zum &amp;Anfang</translation>
    </message>
    <message>
        <source>Jump to File#</source>
        <translation>Zu Ordner Nr.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>File slots</source>
        <translation>Ordnerplätze</translation>
    </message>
    <message>
        <source>Category pick list</source>
        <translation>Kategorieauswahl</translation>
    </message>
    <message>
        <source>Please Enter File </source>
        <translation>Bitte Ordnernummer eingeben </translation>
    </message>
</context>
<context>
    <name>Artwork</name>
    <message>
        <source>Type a word. Get the folder number. Pull the folder.</source>
        <translation>Wort eingeben. Nummer lesen. Ordner ziehen.</translation>
    </message>
</context>
<context>
    <name>BackupRestore</name>
    <message>
        <source>Backup Complete!</source>
        <translation>Sicherung abgeschlossen!</translation>
    </message>
    <message>
        <source>Restore Complete!</source>
        <translation>Wiederherstellung abgeschlossen!</translation>
    </message>
    <message>
        <source>Papyra could not back up the database to
%1

%2</source>
        <translation>Papyra konnte die Datenbank nicht sichern nach
%1

%2</translation>
    </message>
    <message>
        <source>Papyra could not restore the database from
%1

%2

Your database was not changed.</source>
        <translation>Papyra konnte die Datenbank nicht wiederherstellen aus
%1

%2

Ihre Datenbank wurde nicht verändert.</translation>
    </message>
</context>
<context>
    <name>CategoriesPanel</name>
    <message>
        <source>F7 - &amp;Add Category *</source>
        <translation>F7 - Kategorie &amp;hinzufügen *</translation>
    </message>
    <message>
        <source>F8 - &amp;Delete Category</source>
        <translation>F8 - Kategorie &amp;löschen</translation>
    </message>
    <message>
        <source>My categories</source>
        <translation>Meine Kategorien</translation>
    </message>
    <message>
        <source>Please click on a category record to select it.</source>
        <translation>Bitte klicken Sie auf eine Kategorie, um sie auszuwählen.</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Sind Sie sicher?</translation>
    </message>
</context>
<context>
    <name>DataSource</name>
    <message>
        <source>&quot;%1&quot; is not a date. Please type the reminder as %2.</source>
        <translation>„%1“ ist kein Datum. Bitte geben Sie die Erinnerung so ein: %2.</translation>
    </message>
    <message>
        <source>The database is not open.</source>
        <translation>Die Datenbank ist nicht geöffnet.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number.</source>
        <translation>„%1“ ist keine Zahl.</translation>
    </message>
</context>
<context>
    <name>DatabaseReport</name>
    <message>
        <source>the database report</source>
        <translation>den Datenbankbericht</translation>
    </message>
    <message>
        <source>Papyra Database Report.pdf</source>
        <translation>Papyra Datenbankbericht.pdf</translation>
    </message>
    <message>
        <source>Papyra could not read its database, so %1 was not printed.

%2</source>
        <translation>Papyra konnte seine Datenbank nicht lesen und hat %1 nicht gedruckt.

%2</translation>
    </message>
</context>
<context>
    <name>Dates</name>
    <message>
        <source>day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>%1, %2 and %3, for example %4</source>
        <translation>%1, %2 und %3, zum Beispiel %4</translation>
    </message>
</context>
<context>
    <name>FileCopy</name>
    <message>
        <source>This is not a regular file.</source>
        <translation>Dies ist keine gewöhnliche Datei.</translation>
    </message>
</context>
<context>
    <name>LabelLayout</name>
    <message>
        <source>The label sheet type &quot;%1&quot; cannot be used: %2. Please choose another type or correct its line in labels.def.</source>
        <translation>Der Etikettenbogen „%1“ kann nicht verwendet werden: %2. Bitte wählen Sie einen anderen oder berichtigen Sie seine Zeile in labels.def.</translation>
    </message>
    <message>
        <source>its definition does not hold eight numbers</source>
        <translation>seine Beschreibung enthält nicht acht Zahlen</translation>
    </message>
    <message>
        <source>its definition holds a value that is not a finite number</source>
        <translation>seine Beschreibung enthält einen Wert, der keine endliche Zahl ist</translation>
    </message>
    <message>
        <source>it needs a whole number of columns and rows, at least one of each</source>
        <translation>er braucht eine ganze Zahl von Spalten und Zeilen, von beiden mindestens eine</translation>
    </message>
    <message>
        <source>its labels have no width or no height</source>
        <translation>seine Etiketten haben keine Breite oder keine Höhe</translation>
    </message>
    <message>
        <source>its margins are negative</source>
        <translation>seine Ränder sind negativ</translation>
    </message>
    <message>
        <source>its labels would overlap</source>
        <translation>seine Etiketten würden sich überlappen</translation>
    </message>
    <message>
        <source>its paper &quot;%1&quot; is not known (Letter or A4)</source>
        <translation>sein Papier „%1“ ist unbekannt (Letter oder A4)</translation>
    </message>
    <message>
        <source>its labels do not fit on the paper</source>
        <translation>seine Etiketten passen nicht auf das Papier</translation>
    </message>
    <message>
        <source>Please choose a label type from the list.</source>
        <translation>Bitte wählen Sie eine Etikettenart aus der Liste.</translation>
    </message>
    <message>
        <source>Please enter the first label number as a whole number from 1 to %1.</source>
        <translation>Bitte geben Sie die erste Etikettennummer als ganze Zahl von 1 bis %1 ein.</translation>
    </message>
    <message>
        <source>Please enter how many pages to print as a whole number from 1 to %1.</source>
        <translation>Bitte geben Sie die Zahl der zu druckenden Seiten als ganze Zahl von 1 bis %1 ein.</translation>
    </message>
    <message>
        <source>Please enter how many labels to print as a whole number from 1 to %1 (%2 pages of this label type).</source>
        <translation>Bitte geben Sie die Zahl der zu druckenden Etiketten als ganze Zahl von 1 bis %1 ein (%2 Seiten dieser Etikettenart).</translation>
    </message>
    <message>
        <source>Label numbers go up to %1: please print fewer labels or start lower.</source>
        <translation>Etikettennummern reichen bis %1: Bitte drucken Sie weniger Etiketten oder beginnen Sie niedriger.</translation>
    </message>
</context>
<context>
    <name>LabelPrinting</name>
    <message>
        <source>the labels</source>
        <translation>die Etiketten</translation>
    </message>
    <message>
        <source>Papyra Labels.pdf</source>
        <translation>Papyra Etiketten.pdf</translation>
    </message>
    <message>
        <source>The pages could not be drawn.</source>
        <translation>Die Seiten konnten nicht gezeichnet werden.</translation>
    </message>
</context>
<context>
    <name>LabelsDialog</name>
    <message>
        <source>Sorry! Could not find label definitions. Please contact support for a new labels definition file.</source>
        <translation>Leider wurden keine Etikettenbeschreibungen gefunden. Bitte wenden Sie sich für eine neue Beschreibungsdatei an den Kundendienst.</translation>
    </message>
    <message>
        <source>Sorry! Bad label definition file. Please contact support for a new labels definition file.</source>
        <translation>Leider ist die Datei der Etikettenbeschreibungen fehlerhaft. Bitte wenden Sie sich für eine neue Beschreibungsdatei an den Kundendienst.</translation>
    </message>
    <message>
        <source>Papyra! Labels</source>
        <translation>Papyra! Etiketten</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Label type</source>
        <translation>Etikettenart</translation>
    </message>
    <message>
        <source>Label Type:</source>
        <translation>Etikettenart:</translation>
    </message>
    <message>
        <source>Start label numbering at</source>
        <translation>Etiketten nummerieren ab</translation>
    </message>
    <message>
        <source>Print a total of</source>
        <translation>Insgesamt drucken</translation>
    </message>
    <message>
        <source>Labels</source>
        <translation>Etiketten</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>F1 - &amp;Search</source>
        <translation>F1 - &amp;Suchen</translation>
    </message>
    <message>
        <source>F2 - Search &amp;Results</source>
        <translation>F2 - Such&amp;ergebnisse</translation>
    </message>
    <message>
        <source>F3 - Add &amp;Files</source>
        <translation>F3 - &amp;Ordner erfassen</translation>
    </message>
    <message>
        <source>F4 - My &amp;Categories</source>
        <translation>F4 - Meine &amp;Kategorien</translation>
    </message>
    <message>
        <source>F9 - Start &amp;Here</source>
        <translation>F9 - &amp;Hier beginnen</translation>
    </message>
    <message>
        <source>Click on this tab for Help</source>
        <translation>Klicken Sie auf diesen Reiter, um Hilfe zu erhalten</translation>
    </message>
    <message>
        <source>Search For:</source>
        <translation>Suchen:</translation>
    </message>
    <message>
        <source>Search for</source>
        <translation>Suchen nach</translation>
    </message>
    <message>
        <source>GO!</source>
        <translation>LOS!</translation>
    </message>
    <message>
        <source>To begin, click on &quot;Start Here&quot; and view instructions. Then click &quot;Add Files&quot;.</source>
        <translation>Klicken Sie zuerst auf „Hier beginnen“ und sehen Sie sich die Anleitung an. Dann klicken Sie auf „Ordner erfassen“.</translation>
    </message>
    <message>
        <source>Search results</source>
        <translation>Suchergebnisse</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>&amp;Backup Database</source>
        <translation>Datenbank &amp;sichern</translation>
    </message>
    <message>
        <source>&amp;Restore Backup</source>
        <translation>Sicherung &amp;wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Print Database Report</source>
        <translation>Datenbankbericht &amp;drucken</translation>
    </message>
    <message>
        <source>Print &amp;Labels</source>
        <translation>&amp;Etiketten drucken</translation>
    </message>
    <message>
        <source>E&amp;xport to Spreadsheet...</source>
        <translation>In Tabelle e&amp;xportieren...</translation>
    </message>
    <message>
        <source>&amp;Import from Spreadsheet...</source>
        <translation>Aus Tabelle &amp;importieren...</translation>
    </message>
    <message>
        <source>&amp;Quit Papyra (TM)</source>
        <translation>Papyra (TM) &amp;beenden</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>E&amp;infügen</translation>
    </message>
    <message>
        <source>&amp;Jump</source>
        <translation>&amp;Springen</translation>
    </message>
    <message>
        <source>Papyra!</source>
        <translation>Papyra!</translation>
    </message>
    <message>
        <source>Search Results</source>
        <translation>Suchergebnisse</translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>Ordner erfassen</translation>
    </message>
    <message>
        <source>My Categories</source>
        <translation>Meine Kategorien</translation>
    </message>
    <message>
        <source>Start Here</source>
        <translation>Hier beginnen</translation>
    </message>
    <message>
        <source>Next &amp;Open File Slot</source>
        <translation>Nächster &amp;freier Ordnerplatz</translation>
    </message>
    <message>
        <source>&amp;Top Of List</source>
        <translation>&amp;Anfang der Liste</translation>
    </message>
    <message>
        <source>Reminders &amp;Due</source>
        <translation>Fällige &amp;Erinnerungen</translation>
    </message>
    <message>
        <source>Add Category</source>
        <translation>Kategorie hinzufügen</translation>
    </message>
    <message>
        <source>Delete Category</source>
        <translation>Kategorie löschen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Papyra! Help on our Website</source>
        <translation>Papyra!-Hilfe auf unserer Webseite</translation>
    </message>
    <message>
        <source>About Papyra!</source>
        <translation>Über Papyra!</translation>
    </message>
    <message>
        <source>Mode: READY</source>
        <translation>Modus: BEREIT</translation>
    </message>
    <message>
        <source>Click to list the reminders due</source>
        <translation>Klicken, um die fälligen Erinnerungen aufzulisten</translation>
    </message>
    <message>
        <source>Papyra could not open its database.

%1

The database file should be:
%2</source>
        <translation>Papyra konnte seine Datenbank nicht öffnen.

%1

Die Datenbankdatei sollte hier liegen:
%2</translation>
    </message>
    <message>
        <source>Papyra could not read its database.

%1

The database file should be:
%2</source>
        <translation>Papyra konnte seine Datenbank nicht lesen.

%1

Die Datenbankdatei sollte hier liegen:
%2</translation>
    </message>
    <message>
        <source>Papyra could not save your change.

%1</source>
        <translation>Papyra konnte Ihre Änderung nicht speichern.

%1</translation>
    </message>
    <message>
        <source>Show on Add Files</source>
        <translation>Unter „Ordner erfassen“ zeigen</translation>
    </message>
    <message>
        <source>1 folder found</source>
        <translation>1 Ordner gefunden</translation>
    </message>
    <message>
        <source>%1 folders found</source>
        <translation>%1 Ordner gefunden</translation>
    </message>
    <message>
        <source>0 folders found; 1 holds all these words in any order: Ctrl+Enter lists it</source>
        <translation>0 Ordner gefunden; 1 enthält alle diese Wörter in anderer Reihenfolge: Strg+Eingabe listet ihn auf</translation>
    </message>
    <message>
        <source>0 folders found; %1 hold all these words in any order: Ctrl+Enter lists them</source>
        <translation>0 Ordner gefunden; %1 enthalten alle diese Wörter in anderer Reihenfolge: Strg+Eingabe listet sie auf</translation>
    </message>
</context>
<context>
    <name>PageSurface</name>
    <message>
        <source>The print job could not be started.</source>
        <translation>Der Druckauftrag konnte nicht begonnen werden.</translation>
    </message>
    <message>
        <source>The printer refused a new page.</source>
        <translation>Der Drucker hat eine neue Seite abgelehnt.</translation>
    </message>
    <message>
        <source>The print job could not be finished.</source>
        <translation>Der Druckauftrag konnte nicht abgeschlossen werden.</translation>
    </message>
    <message>
        <source>The printer reported an error.</source>
        <translation>Der Drucker hat einen Fehler gemeldet.</translation>
    </message>
</context>
<context>
    <name>PrintJob</name>
    <message>
        <source>The printer %1 cannot be used.</source>
        <translation>Der Drucker %1 kann nicht verwendet werden.</translation>
    </message>
    <message>
        <source>No printer is installed.

Do you want to save %1 as a PDF file instead?</source>
        <translation>Es ist kein Drucker eingerichtet.

Möchten Sie %1 stattdessen als PDF-Datei speichern?</translation>
    </message>
    <message>
        <source>Papyra could not print %1.</source>
        <translation>Papyra konnte %1 nicht drucken.</translation>
    </message>
    <message>
        <source>Papyra could not save %1 as the PDF file
%2</source>
        <translation>Papyra konnte %1 nicht als PDF-Datei speichern:
%2</translation>
    </message>
</context>
<context>
    <name>RecordSources</name>
    <message>
        <source>File #</source>
        <translation>Ordner Nr.</translation>
    </message>
    <message>
        <source>Keywords</source>
        <translation>Stichwörter</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Reminder ( %1 )</source>
        <translation>Erinnerung ( %1 )</translation>
    </message>
</context>
<context>
    <name>RecordStore</name>
    <message>
        <source>The database is not open.</source>
        <translation>Die Datenbank ist nicht geöffnet.</translation>
    </message>
    <message>
        <source>file slot %1 is gone.</source>
        <translation>den Ordnerplatz %1 gibt es nicht mehr.</translation>
    </message>
</context>
<context>
    <name>RemindersDue</name>
    <message>
        <source>1 reminder due</source>
        <translation>1 Erinnerung fällig</translation>
    </message>
    <message>
        <source>%1 reminders due</source>
        <translation>%1 Erinnerungen fällig</translation>
    </message>
</context>
<context>
    <name>Schema</name>
    <message>
        <source>%1 already exists</source>
        <translation>%1 gibt es schon</translation>
    </message>
    <message>
        <source>the table %1 is missing</source>
        <translation>die Tabelle %1 fehlt</translation>
    </message>
    <message>
        <source>the table %1 has no field %2</source>
        <translation>die Tabelle %1 hat kein Feld %2</translation>
    </message>
</context>
<context>
    <name>SlotImport</name>
    <message>
        <source>Papyra reads a file whose first line names its columns: one headed &quot;File #&quot; (or &quot;FileNumber&quot;, &quot;File&quot; or &quot;Number&quot;), and at least one of &quot;Keywords&quot;, &quot;Category&quot; and &quot;Reminder&quot;.</source>
        <translation>Papyra liest eine Datei, deren erste Zeile ihre Spalten benennt: eine mit der Überschrift „Ordner Nr.“ (oder „File #“, „FileNumber“, „File“, „Number“) und mindestens eine von „Stichwörter“, „Kategorie“ und „Erinnerung“ (oder „Keywords“, „Category“, „Reminder“).</translation>
    </message>
    <message>
        <source>The file is empty.

</source>
        <translation>Die Datei ist leer.

</translation>
    </message>
    <message>
        <source>The file has no column of file numbers.

</source>
        <translation>Die Datei hat keine Spalte mit Ordnernummern.

</translation>
    </message>
    <message>
        <source>The file has no column of keywords, categories or reminders.

</source>
        <translation>Die Datei hat keine Spalte mit Stichwörtern, Kategorien oder Erinnerungen.

</translation>
    </message>
    <message>
        <source>no file number</source>
        <translation>keine Ordnernummer</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a whole number</source>
        <translation>„%1“ ist keine ganze Zahl</translation>
    </message>
    <message>
        <source>there is no file slot %1</source>
        <translation>es gibt keinen Ordnerplatz %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date</source>
        <translation>„%1“ ist kein Datum</translation>
    </message>
    <message>
        <source>file number %1 appears more than once (lines %2)</source>
        <translation>die Ordnernummer %1 kommt mehrmals vor (Zeilen %2)</translation>
    </message>
    <message>
        <source>1 row is refused and will not be imported:</source>
        <translation>1 Zeile wird abgelehnt und nicht eingelesen:</translation>
    </message>
    <message>
        <source>%1 rows are refused and will not be imported:</source>
        <translation>%1 Zeilen werden abgelehnt und nicht eingelesen:</translation>
    </message>
    <message>
        <source>
Line %1: %2.</source>
        <translation>
Zeile %1: %2.</translation>
    </message>
    <message>
        <source>
... and %1 more.</source>
        <translation>
... und %1 weitere.</translation>
    </message>
    <message>
        <source>1 file slot will be filled.</source>
        <translation>1 Ordnerplatz wird gefüllt.</translation>
    </message>
    <message>
        <source>%1 file slots will be filled.</source>
        <translation>%1 Ordnerplätze werden gefüllt.</translation>
    </message>
    <message>
        <source>
None of them holds other keywords that would be replaced.</source>
        <translation>
Keiner davon enthält andere Stichwörter, die ersetzt würden.</translation>
    </message>
    <message>
        <source>
1 of them already holds keywords that would be replaced.</source>
        <translation>
1 davon enthält schon Stichwörter, die ersetzt würden.</translation>
    </message>
    <message>
        <source>
%1 of them already hold keywords that would be replaced.</source>
        <translation>
%1 davon enthalten schon Stichwörter, die ersetzt würden.</translation>
    </message>
    <message>
        <source>No row is refused.</source>
        <translation>Keine Zeile wird abgelehnt.</translation>
    </message>
    <message>
        <source>

Fill the file slots now?</source>
        <translation>

Die Ordnerplätze jetzt füllen?</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
</context>
<context>
    <name>SpreadsheetCommands</name>
    <message>
        <source>1 file slot</source>
        <translation>1 Ordnerplatz</translation>
    </message>
    <message>
        <source>%1 file slots</source>
        <translation>%1 Ordnerplätze</translation>
    </message>
    <message>
        <source>Papyra could not export to
%1

%2</source>
        <translation>Papyra konnte nicht exportieren nach
%1

%2</translation>
    </message>
    <message>
        <source>Export Complete!

%1 written.</source>
        <translation>Export abgeschlossen!

%1 geschrieben.</translation>
    </message>
    <message>
        <source>Papyra could not import
%1

</source>
        <translation>Papyra konnte nicht einlesen:
%1

</translation>
    </message>
    <message>
        <source>No row of the file can fill a file slot.

</source>
        <translation>Keine Zeile der Datei kann einen Ordnerplatz füllen.

</translation>
    </message>
    <message>
        <source>

No file slot was changed.</source>
        <translation>

Kein Ordnerplatz wurde verändert.</translation>
    </message>
    <message>
        <source>Import Complete!

%1 filled.</source>
        <translation>Import abgeschlossen!

%1 gefüllt.</translation>
    </message>
    <message>
        <source>CSV file (*.csv)</source>
        <translation>CSV-Datei (*.csv)</translation>
    </message>
    <message>
        <source>OpenDocument spreadsheet (*.ods)</source>
        <translation>OpenDocument-Tabelle (*.ods)</translation>
    </message>
    <message>
        <source>Excel workbook (*.xlsx)</source>
        <translation>Excel-Arbeitsmappe (*.xlsx)</translation>
    </message>
    <message>
        <source>Spreadsheets (*.csv *.ods *.xlsx *.txt)</source>
        <translation>Tabellen (*.csv *.ods *.xlsx *.txt)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>SqliteEngine</name>
    <message>
        <source>The database file does not exist.</source>
        <translation>Die Datenbankdatei gibt es nicht.</translation>
    </message>
    <message>
        <source>The database path is not a file.</source>
        <translation>Der Pfad der Datenbank ist keine Datei.</translation>
    </message>
    <message>
        <source>The file is not a Papyra database (%1).</source>
        <translation>Die Datei ist keine Papyra-Datenbank (%1).</translation>
    </message>
    <message>
        <source>The file is not a Papyra database: %1.</source>
        <translation>Die Datei ist keine Papyra-Datenbank: %1.</translation>
    </message>
    <message>
        <source>The database could not be prepared.</source>
        <translation>Die Datenbank konnte nicht vorbereitet werden.</translation>
    </message>
    <message>
        <source>The database is not open.</source>
        <translation>Die Datenbank ist nicht geöffnet.</translation>
    </message>
</context>
<context>
    <name>SqliteFile</name>
    <message>
        <source>The file cannot be read: %1.</source>
        <translation>Die Datei kann nicht gelesen werden: %1.</translation>
    </message>
    <message>
        <source>The file is not a database.</source>
        <translation>Die Datei ist keine Datenbank.</translation>
    </message>
    <message>
        <source>The file is damaged: its header gives no valid page size.</source>
        <translation>Die Datei ist beschädigt: Ihr Kopf nennt keine gültige Seitengröße.</translation>
    </message>
    <message>
        <source>The file is damaged: it holds %1 bytes, but its header says %2 pages of %3 bytes.</source>
        <translation>Die Datei ist beschädigt: Sie enthält %1 Bytes, ihr Kopf nennt aber %2 Seiten zu %3 Bytes.</translation>
    </message>
    <message>
        <source>The file is damaged (%1).</source>
        <translation>Die Datei ist beschädigt (%1).</translation>
    </message>
    <message>
        <source>The file cannot be read as a database (%1).</source>
        <translation>Die Datei kann nicht als Datenbank gelesen werden (%1).</translation>
    </message>
    <message>
        <source>The file is not a Papyra database: %1.</source>
        <translation>Die Datei ist keine Papyra-Datenbank: %1.</translation>
    </message>
    <message>
        <source>it holds triggers</source>
        <translation>sie enthält Trigger</translation>
    </message>
    <message>
        <source>the table %1 is missing</source>
        <translation>die Tabelle %1 fehlt</translation>
    </message>
    <message>
        <source>%1 is a %2, not a table</source>
        <translation>%1 ist ein %2, keine Tabelle</translation>
    </message>
    <message>
        <source>the table %1 has no rowid</source>
        <translation>die Tabelle %1 hat keine rowid</translation>
    </message>
    <message>
        <source>the table %1 has no field %2</source>
        <translation>die Tabelle %1 hat kein Feld %2</translation>
    </message>
    <message>
        <source>the field %1 of the table %2 is computed</source>
        <translation>das Feld %1 der Tabelle %2 ist berechnet</translation>
    </message>
    <message>
        <source>the field %1 of the table %2 cannot be empty</source>
        <translation>das Feld %1 der Tabelle %2 darf nicht leer sein</translation>
    </message>
    <message>
        <source>FileNumber is not the integer key of the table Varnel</source>
        <translation>FileNumber ist nicht der ganzzahlige Schlüssel der Tabelle Varnel</translation>
    </message>
    <message>
        <source>The file cannot be opened as a database (%1).</source>
        <translation>Die Datei kann nicht als Datenbank geöffnet werden (%1).</translation>
    </message>
    <message>
        <source>The file cannot be prepared for use (%1).</source>
        <translation>Die Datei kann nicht zur Verwendung vorbereitet werden (%1).</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>Die Datei gibt es nicht.</translation>
    </message>
    <message>
        <source>This is not a regular file.</source>
        <translation>Dies ist keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>The file has a journal beside it and cannot be checked on its own.</source>
        <translation>Neben der Datei liegt ein Journal; sie kann nicht für sich allein geprüft werden.</translation>
    </message>
    <message>
        <source>This is the database file itself. Please choose another file for the backup.</source>
        <translation>Dies ist die Datenbankdatei selbst. Bitte wählen Sie eine andere Datei für die Sicherung.</translation>
    </message>
    <message>
        <source>The file cannot be prepared for use.</source>
        <translation>Die Datei kann nicht zur Verwendung vorbereitet werden.</translation>
    </message>
</context>
<context>
    <name>SqliteSearch</name>
    <message>
        <source>The database connection is not open.</source>
        <translation>Die Verbindung zur Datenbank ist nicht geöffnet.</translation>
    </message>
</context>
<context>
    <name>SystemInfo</name>
    <message>
        <source>System Information Is Unavailable At This Time</source>
        <translation>Die Systeminformationen sind zurzeit nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>Workbook</name>
    <message>
        <source>The zip file could not be made.</source>
        <translation>Die ZIP-Datei konnte nicht erstellt werden.</translation>
    </message>
    <message>
        <source>The spreadsheet is protected by a password, so Papyra cannot read it. Please open it in your spreadsheet program, save a copy without the password and import that copy.</source>
        <translation>Die Tabelle ist durch ein Kennwort geschützt, daher kann Papyra sie nicht lesen. Bitte öffnen Sie sie in Ihrem Tabellenprogramm, speichern Sie eine Kopie ohne Kennwort und lesen Sie diese Kopie ein.</translation>
    </message>
    <message>
        <source>The spreadsheet is damaged: it has no readable content.</source>
        <translation>Die Tabelle ist beschädigt: Sie hat keinen lesbaren Inhalt.</translation>
    </message>
    <message>
        <source>The spreadsheet is damaged: %1.</source>
        <translation>Die Tabelle ist beschädigt: %1.</translation>
    </message>
    <message>
        <source>The workbook is damaged: its first sheet cannot be found.</source>
        <translation>Die Arbeitsmappe ist beschädigt: Ihr erstes Blatt ist nicht zu finden.</translation>
    </message>
    <message>
        <source>The workbook is damaged: %1.</source>
        <translation>Die Arbeitsmappe ist beschädigt: %1.</translation>
    </message>
    <message>
        <source>Please open it in your spreadsheet program and save it as an Excel workbook (.xlsx), an OpenDocument spreadsheet (.ods) or a CSV file, then import that file.</source>
        <translation>Bitte öffnen Sie sie in Ihrem Tabellenprogramm, speichern Sie sie als Excel-Arbeitsmappe (.xlsx), OpenDocument-Tabelle (.ods) oder CSV-Datei und lesen Sie dann diese Datei ein.</translation>
    </message>
    <message>
        <source>The workbook is protected by a password, so Papyra cannot read it. Please open it in your spreadsheet program, save a copy without the password and import that copy.</source>
        <translation>Die Arbeitsmappe ist durch ein Kennwort geschützt, daher kann Papyra sie nicht lesen. Bitte öffnen Sie sie in Ihrem Tabellenprogramm, speichern Sie eine Kopie ohne Kennwort und lesen Sie diese Kopie ein.</translation>
    </message>
    <message>
        <source>The file is an Excel 97-2003 workbook (.xls), a form Papyra cannot read. </source>
        <translation>Die Datei ist eine Excel-97-2003-Arbeitsmappe (.xls), eine Form, die Papyra nicht lesen kann. </translation>
    </message>
    <message>
        <source>The file is a damaged zip file.</source>
        <translation>Die Datei ist eine beschädigte ZIP-Datei.</translation>
    </message>
    <message>
        <source>The file is an OpenDocument file but not a spreadsheet (%1). </source>
        <translation>Die Datei ist eine OpenDocument-Datei, aber keine Tabelle (%1). </translation>
    </message>
    <message>
        <source>The file is a zip file but not a spreadsheet Papyra can read. </source>
        <translation>Die Datei ist eine ZIP-Datei, aber keine Tabelle, die Papyra lesen kann. </translation>
    </message>
</context>
</TS>
