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
    <name>AutoBackup</name>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The second folder for backups, %1, is not there.</source>
        <translation>Der zweite Speicherort für Sicherungen, %1, ist nicht vorhanden.</translation>
    </message>
    <message>
        <source>No copy could be written to %1: %2</source>
        <translation>In %1 konnte keine Kopie geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>AutoRestoreDialog</name>
    <message>
        <source>Restore Automatic Backup</source>
        <translation>Automatische Sicherung wiederherstellen</translation>
    </message>
    <message>
        <source>Papyra keeps a copy of your database each day it starts, and before every restore and import. Choose one to go back to.</source>
        <translation>Papyra legt an jedem Tag, an dem es startet, und vor jeder Wiederherstellung und jedem Import eine Kopie Ihrer Datenbank an. Wählen Sie die Kopie, zu der Sie zurückkehren möchten.</translation>
    </message>
    <message>
        <source>When</source>
        <translation>Zeitpunkt</translation>
    </message>
    <message>
        <source>Folders filled</source>
        <translation>Gefüllte Ordnerplätze</translation>
    </message>
    <message>
        <source>(cannot be read)</source>
        <translation>(nicht lesbar)</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Second &amp;Folder...</source>
        <translation>&amp;Zweiter Speicherort...</translation>
    </message>
    <message>
        <source>Copies also go to: (no second folder chosen)</source>
        <translation>Kopien werden zusätzlich abgelegt in: (kein zweiter Speicherort gewählt)</translation>
    </message>
    <message>
        <source>Copies also go to: %1</source>
        <translation>Kopien werden zusätzlich abgelegt in: %1</translation>
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
    <message>
        <source>Papyra could not first keep a copy of your database to undo the restore with: %1</source>
        <translation>Papyra konnte vorher keine Kopie Ihrer Datenbank anlegen, mit der sich die Wiederherstellung rückgängig machen ließe: %1</translation>
    </message>
    <message>
        <source>Papyra backups (*.bkp *.mdb)</source>
        <translation>Papyra-Sicherungen (*.bkp *.mdb)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Restoring replaces the shared index %1 for every desk with the contents of
%2

Restore it?</source>
        <translation>Die Wiederherstellung ersetzt den gemeinsamen Index %1 für alle Arbeitsplätze durch den Inhalt von
%2

Jetzt wiederherstellen?</translation>
    </message>
    <message>
        <source>Your database as it was before is kept: File &gt; Restore Automatic Backup... brings it back (%1).</source>
        <translation>Ihre Datenbank im vorherigen Stand bleibt erhalten: Datei &gt; Automatische Sicherung wiederherstellen... holt sie zurück (%1).</translation>
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
    <message>
        <source>Your user may only read the shared index, so categories cannot be added or deleted here. Ask the index&apos;s administrator for editing rights.</source>
        <translation>Ihr Benutzer darf den gemeinsamen Index nur lesen, daher können hier keine Kategorien hinzugefügt oder gelöscht werden. Bitten Sie den Verwalter des Index um Schreibrechte.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>usage: papyra --create-shared-index postgresql://USER@SERVER/DATABASE [FILE]</source>
        <translation>Aufruf: papyra --create-shared-index postgresql://BENUTZER@SERVER/DATENBANK [DATEI]</translation>
    </message>
    <message>
        <source>The settings file %1 cannot be written.</source>
        <translation>Die Einstellungsdatei %1 kann nicht geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>Csv</name>
    <message>
        <source>Line %1 is not valid UTF-8 text, although the file is written in UTF-8. Please save the file again as UTF-8 (CSV) in the spreadsheet program.</source>
        <translation>Zeile %1 ist kein gültiger UTF-8-Text, obwohl die Datei in UTF-8 geschrieben ist. Bitte speichern Sie die Datei im Tabellenprogramm erneut als UTF-8 (CSV).</translation>
    </message>
    <message>
        <source>Line %1: a quoted field is not closed, so every line after it would be read into that one field.</source>
        <translation>Zeile %1: Ein Feld in Anführungszeichen wird nicht geschlossen, sodass jede folgende Zeile in dieses eine Feld gelesen würde.</translation>
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
    <message>
        <source>The shared index %1 cannot be reached.</source>
        <translation>Der gemeinsame Index %1 ist nicht erreichbar.</translation>
    </message>
    <message>
        <source>The row was changed elsewhere while it was being edited.</source>
        <translation>Die Zeile wurde an anderer Stelle geändert, während sie bearbeitet wurde.</translation>
    </message>
    <message>
        <source>The row no longer exists: it was deleted elsewhere.</source>
        <translation>Die Zeile gibt es nicht mehr: Sie wurde an anderer Stelle gelöscht.</translation>
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
    <name>Dialogs</name>
    <message>
        <source>office-server, or a whole postgresql:// address</source>
        <translation>buero-server oder eine ganze Adresse mit postgresql://</translation>
    </message>
    <message>
        <source>Remember password (in ~/.pgpass)</source>
        <translation>Passwort merken (in ~/.pgpass)</translation>
    </message>
    <message>
        <source>&amp;Server:</source>
        <translation>&amp;Server:</translation>
    </message>
    <message>
        <source>P&amp;ort:</source>
        <translation>P&amp;ort:</translation>
    </message>
    <message>
        <source>&amp;Database:</source>
        <translation>&amp;Datenbank:</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>Pass&amp;word:</source>
        <translation>Pass&amp;wort:</translation>
    </message>
</context>
<context>
    <name>Engine</name>
    <message>
        <source>This index cannot be copied while it is in use.</source>
        <translation>Dieser Index kann nicht kopiert werden, solange er in Gebrauch ist.</translation>
    </message>
</context>
<context>
    <name>FileCopy</name>
    <message>
        <source>This is not a regular file.</source>
        <translation>Dies ist keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>Windows error %1</source>
        <translation>Windows-Fehler %1</translation>
    </message>
</context>
<context>
    <name>GridBinding</name>
    <message>
        <source>Folder %1 was changed at another desk while you were editing it.</source>
        <translation>Ordner %1 wurde an einem anderen Arbeitsplatz geändert, während Sie ihn bearbeitet haben.</translation>
    </message>
    <message>
        <source>This row was changed at another desk while you were editing it.</source>
        <translation>Diese Zeile wurde an einem anderen Arbeitsplatz geändert, während Sie sie bearbeitet haben.</translation>
    </message>
    <message>
        <source>%1 at the other desk: &quot;%2&quot;</source>
        <translation>%1 am anderen Arbeitsplatz: „%2“</translation>
    </message>
    <message>
        <source>%1 as you typed it: &quot;%2&quot;</source>
        <translation>%1 wie von Ihnen eingegeben: „%2“</translation>
    </message>
    <message>
        <source>Keep your text? Yes writes yours over the other desk&apos;s; No keeps the other desk&apos;s and drops yours.</source>
        <translation>Ihren Text behalten? „Ja“ schreibt Ihren Text über den des anderen Arbeitsplatzes; „Nein“ behält den des anderen Arbeitsplatzes und verwirft Ihren.</translation>
    </message>
</context>
<context>
    <name>History</name>
    <message>
        <source>the table PapyraHistory is not Papyra&apos;s (%1)</source>
        <translation>die Tabelle PapyraHistory gehört nicht zu Papyra (%1)</translation>
    </message>
    <message>
        <source>This version is no longer kept.</source>
        <translation>Diese Fassung ist nicht mehr gespeichert.</translation>
    </message>
</context>
<context>
    <name>HistoryDialog</name>
    <message>
        <source>Folder History - File # %1</source>
        <translation>Ordnerverlauf - Ordner Nr. %1</translation>
    </message>
    <message>
        <source>Earlier contents of file slot %1, newest first. Choose one and click Put Back.</source>
        <translation>Frühere Inhalte des Ordnerplatzes %1, die neuesten zuerst. Wählen Sie einen aus und klicken Sie auf „Zurückholen“.</translation>
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
        <source>Reminder</source>
        <translation>Erinnerung</translation>
    </message>
    <message>
        <source>Changed</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Put Back</source>
        <translation>Zurückholen</translation>
    </message>
    <message>
        <source>(no earlier contents are kept for this slot)</source>
        <translation>(für diesen Ordnerplatz sind keine früheren Inhalte gespeichert)</translation>
    </message>
    <message>
        <source>Papyra could not read the folder&apos;s history.

%1</source>
        <translation>Papyra konnte den Verlauf des Ordners nicht lesen.

%1</translation>
    </message>
    <message>
        <source>Papyra could not put this version back.

%1</source>
        <translation>Papyra konnte diese Fassung nicht zurückholen.

%1</translation>
    </message>
</context>
<context>
    <name>LabelCode</name>
    <message>
        <source>None</source>
        <translation>Kein Code</translation>
    </message>
    <message>
        <source>QR Code</source>
        <translation>QR-Code</translation>
    </message>
    <message>
        <source>Data Matrix</source>
        <translation>Data Matrix</translation>
    </message>
    <message>
        <source>Code 128</source>
        <translation>Code 128</translation>
    </message>
    <message>
        <source>no code chosen</source>
        <translation>kein Code gewählt</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>zu wenig Arbeitsspeicher</translation>
    </message>
    <message>
        <source>the code could not be drawn</source>
        <translation>der Code konnte nicht gezeichnet werden</translation>
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
    <message>
        <source>its paper &quot;%1&quot; is not known (Letter, A4 or Roll)</source>
        <translation>sein Papier „%1“ ist unbekannt (Letter, A4 oder Roll)</translation>
    </message>
    <message>
        <source>a roll holds one label across and one down</source>
        <translation>eine Rolle trägt genau ein Etikett nebeneinander und untereinander</translation>
    </message>
</context>
<context>
    <name>LabelPainter</name>
    <message>
        <source>A %1 cannot hold &quot;%2&quot;: %3.</source>
        <translation>„%2“ lässt sich nicht als %1 darstellen: %3.</translation>
    </message>
    <message>
        <source>The labels of &quot;%1&quot; are too small for a %2 holding &quot;%3&quot;. Please choose larger labels, a shorter prefix or another code.</source>
        <translation>Die Etiketten von „%1“ sind zu klein für „%3“ als %2. Bitte wählen Sie größere Etiketten, ein kürzeres Präfix oder einen anderen Code.</translation>
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
    <message>
        <source>Code:</source>
        <translation>Code:</translation>
    </message>
    <message>
        <source>Code on each label</source>
        <translation>Code auf jedem Etikett</translation>
    </message>
    <message>
        <source>Code prefix:</source>
        <translation>Code-Präfix:</translation>
    </message>
    <message>
        <source>Code prefix</source>
        <translation>Code-Präfix</translation>
    </message>
    <message>
        <source>Printed before the number in the code; with ASN the number has 5 digits</source>
        <translation>Steht im Code vor der Nummer; mit ASN hat die Nummer 5 Stellen</translation>
    </message>
    <message>
        <source>Only the folders in Search Results</source>
        <translation>Nur die Ordner der Suchergebnisse</translation>
    </message>
    <message>
        <source>Please choose a label type from the list.</source>
        <translation>Bitte wählen Sie eine Etikettenart aus der Liste.</translation>
    </message>
    <message>
        <source>The Search Results tab lists no folders. Please search for the folders first, or print a run of numbers.</source>
        <translation>Der Reiter „Suchergebnisse“ listet keine Ordner auf. Bitte suchen Sie zuerst nach den Ordnern, oder drucken Sie eine Reihe von Nummern.</translation>
    </message>
    <message>
        <source>The Search Results tab lists %1 folders; at most %2 labels (%3 pages of this label type) are printed at a time.</source>
        <translation>Der Reiter „Suchergebnisse“ listet %1 Ordner auf; höchstens %2 Etiketten (%3 Seiten dieser Etikettenart) werden auf einmal gedruckt.</translation>
    </message>
    <message>
        <source>Please enter a code prefix of up to 10 letters, digits, &quot;-&quot;, &quot;.&quot; or &quot;/&quot; that begins with a letter, or leave it empty.</source>
        <translation>Bitte geben Sie ein Code-Präfix aus bis zu 10 Buchstaben, Ziffern, „-“, „.“ oder „/“ ein, das mit einem Buchstaben beginnt, oder lassen Sie das Feld leer.</translation>
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
    <message>
        <source>Restore &amp;Automatic Backup...</source>
        <translation>&amp;Automatische Sicherung wiederherstellen...</translation>
    </message>
    <message>
        <source>Open Shared Index...</source>
        <translation>&amp;Gemeinsamen Index öffnen...</translation>
    </message>
    <message>
        <source>Use My Own Index</source>
        <translation>Eigenen Index &amp;verwenden</translation>
    </message>
    <message>
        <source>Folder &amp;History</source>
        <translation>Ordner&amp;verlauf</translation>
    </message>
    <message>
        <source>Papyra could not open the shared index.

%1

Your own index is in use meanwhile; File &gt; Open Shared Index... tries again.</source>
        <translation>Papyra konnte den gemeinsamen Index nicht öffnen.

%1

Bis dahin ist Ihr eigener Index in Gebrauch; Datei &gt; Gemeinsamen Index öffnen... versucht es erneut.</translation>
    </message>
    <message>
        <source>Please click on a file slot to select it.</source>
        <translation>Bitte klicken Sie auf einen Ordnerplatz, um ihn auszuwählen.</translation>
    </message>
    <message>
        <source>The automatic backup could not be written: %1</source>
        <translation>Die automatische Sicherung konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Papyra could not read its database.

%1

%2</source>
        <translation>Papyra konnte seine Datenbank nicht lesen.

%1

%2</translation>
    </message>
    <message>
        <source>The shared index is %1.</source>
        <translation>Der gemeinsame Index ist %1.</translation>
    </message>
    <message>
        <source>The database file should be:
%1</source>
        <translation>Die Datenbankdatei sollte hier liegen:
%1</translation>
    </message>
    <message>
        <source>Shared index: %1</source>
        <translation>Gemeinsamer Index: %1</translation>
    </message>
    <message>
        <source> (cannot be reached, trying again)</source>
        <translation> (nicht erreichbar, neuer Versuch läuft)</translation>
    </message>
    <message>
        <source> (read only)</source>
        <translation> (nur Lesezugriff)</translation>
    </message>
    <message>
        <source>The password could not be kept in the password file: %1</source>
        <translation>Das Passwort konnte nicht in der Passwortdatei gespeichert werden: %1</translation>
    </message>
    <message>
        <source>The office&apos;s shared index on a PostgreSQL server: its server, port, database and your user name, or one postgresql:// address.</source>
        <translation>Der gemeinsame Index des Büros auf einem PostgreSQL-Server: Server, Port, Datenbank und Ihr Benutzername – oder eine einzige Adresse, die mit postgresql:// beginnt.</translation>
    </message>
    <message>
        <source>

Papyra stays on the index it had.</source>
        <translation>

Papyra bleibt beim bisherigen Index.</translation>
    </message>
    <message>
        <source>

Your change to folder %1 is kept: Papyra writes it as soon as the server can be reached again.</source>
        <translation>

Ihre Änderung an Ordner %1 bleibt erhalten: Papyra schreibt sie, sobald der Server wieder erreichbar ist.</translation>
    </message>
    <message>
        <source>The shared index at %1 cannot be reached.%2

Papyra keeps trying to reach it.</source>
        <translation>Der gemeinsame Index auf %1 ist nicht erreichbar.%2

Papyra versucht weiter, ihn zu erreichen.</translation>
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
    <name>PostgresEngine</name>
    <message>
        <source>The server at %1 asks for your password.</source>
        <translation>Der Server %1 verlangt Ihr Passwort.</translation>
    </message>
    <message>
        <source>The server at %1 asks for a password for the user %2.</source>
        <translation>Der Server %1 verlangt ein Passwort für den Benutzer %2.</translation>
    </message>
    <message>
        <source>The server at %1 did not accept the password for the user %2.</source>
        <translation>Der Server %1 hat das Passwort für den Benutzer %2 nicht angenommen.</translation>
    </message>
    <message>
        <source>The server at %1 has no database called %2.</source>
        <translation>Der Server %1 hat keine Datenbank namens %2.</translation>
    </message>
    <message>
        <source>Papyra cannot reach PostgreSQL servers here: Qt&apos;s PostgreSQL driver (the package libqt6sql6-psql) is not installed.</source>
        <translation>Papyra kann hier keine PostgreSQL-Server erreichen: Der PostgreSQL-Treiber von Qt (das Paket libqt6sql6-psql) ist nicht installiert.</translation>
    </message>
    <message>
        <source>The shared index at %1 cannot be reached (%2).</source>
        <translation>Der gemeinsame Index auf %1 ist nicht erreichbar (%2).</translation>
    </message>
    <message>
        <source>%1 is not a file.</source>
        <translation>%1 ist keine Datei.</translation>
    </message>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>Die Datei kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The server at %1 runs PostgreSQL %2; Papyra needs PostgreSQL 12 or later.</source>
        <translation>Auf dem Server %1 läuft PostgreSQL %2; Papyra braucht PostgreSQL 12 oder neuer.</translation>
    </message>
    <message>
        <source>The database %1 cannot be read: %2</source>
        <translation>Die Datenbank %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The database %1 holds no Papyra index. An administrator makes one with papyra --create-shared-index.</source>
        <translation>Die Datenbank %1 enthält keinen Papyra-Index. Ein Administrator legt ihn mit papyra --create-shared-index an.</translation>
    </message>
    <message>
        <source>The database %1 holds tables of another shape than Papyra&apos;s: the table %2 has no column %3.</source>
        <translation>Die Datenbank %1 enthält Tabellen anderer Form als die von Papyra: Der Tabelle %2 fehlt die Spalte %3.</translation>
    </message>
    <message>
        <source>The database %1 cannot send changes: %2</source>
        <translation>Die Datenbank %1 kann keine Änderungen melden: %2</translation>
    </message>
    <message>
        <source>The database is not open.</source>
        <translation>Die Datenbank ist nicht geöffnet.</translation>
    </message>
    <message>
        <source>The backup could not be written: %1</source>
        <translation>Die Sicherung konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Your user may not replace the shared index; only its owner may restore a backup. Nothing was changed.</source>
        <translation>Ihr Benutzer darf den gemeinsamen Index nicht ersetzen; nur sein Eigentümer darf eine Sicherung wiederherstellen. Es wurde nichts verändert.</translation>
    </message>
    <message>
        <source>The database %1 already holds a Papyra index (or tables of the same names). Nothing was changed.</source>
        <translation>Die Datenbank %1 enthält schon einen Papyra-Index (oder Tabellen gleichen Namens). Es wurde nichts verändert.</translation>
    </message>
    <message>
        <source>The user %1 may not create tables and roles in %2 (%3). Nothing was changed.</source>
        <translation>Der Benutzer %1 darf in %2 keine Tabellen und Rollen anlegen (%3). Es wurde nichts verändert.</translation>
    </message>
    <message>
        <source> Nothing was changed.</source>
        <translation> Es wurde nichts verändert.</translation>
    </message>
    <message>
        <source>Created the shared index %1 with %2 folder slots and %3 categories from %4.
Group roles: papyra_editors (search, edit slots and categories) and papyra_readers (search, print, export).
Add a person with: GRANT papyra_editors TO anna;</source>
        <translation>Gemeinsamer Index %1 mit %2 Ordnerplätzen und %3 Kategorien aus %4 angelegt.
Gruppenrollen: papyra_editors (suchen, Ordnerplätze und Kategorien bearbeiten) und papyra_readers (suchen, drucken, exportieren).
Eine Person hinzufügen mit: GRANT papyra_editors TO anna;</translation>
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
    <message>
        <source>The file is not a Papyra database: %1.</source>
        <translation>Die Datei ist keine Papyra-Datenbank: %1.</translation>
    </message>
    <message>
        <source>This version is not a file slot&apos;s.</source>
        <translation>Diese Fassung gehört zu keinem Ordnerplatz.</translation>
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
    <name>ServerAddress</name>
    <message>
        <source>&quot;%1&quot; is not a PostgreSQL address: it must begin with postgresql://.</source>
        <translation>„%1“ ist keine PostgreSQL-Adresse: Sie muss mit postgresql:// beginnen.</translation>
    </message>
    <message>
        <source>Papyra connects to one server: &quot;%1&quot; names several.</source>
        <translation>Papyra verbindet sich mit einem einzigen Server: „%1“ nennt mehrere.</translation>
    </message>
    <message>
        <source>The server address &quot;%1&quot; lacks its closing ].</source>
        <translation>Der Serveradresse „%1“ fehlt die schließende ].</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a connection setting.</source>
        <translation>„%1“ ist keine Verbindungseinstellung.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a port number.</source>
        <translation>„%1“ ist keine Portnummer.</translation>
    </message>
    <message>
        <source>The address names no database: add /DATABASE after the server.</source>
        <translation>Die Adresse nennt keine Datenbank: Fügen Sie /DATENBANK hinter dem Server an.</translation>
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
    <message>
        <source>The file does not exist.</source>
        <translation>Die Datei gibt es nicht.</translation>
    </message>
    <message>
        <source>This is not a regular file.</source>
        <translation>Dies ist keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>The file holds %1 MB; a spreadsheet of file slots is far smaller (Papyra reads files of up to %2 MB).</source>
        <translation>Die Datei ist %1 MB groß; eine Tabelle von Ordnerplätzen ist weit kleiner (Papyra liest Dateien bis %2 MB).</translation>
    </message>
    <message>
        <source>The file is larger than %1 MB.</source>
        <translation>Die Datei ist größer als %1 MB.</translation>
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
    <message>
        <source>Papyra could not first keep a copy of your database to undo the import with: %1</source>
        <translation>Papyra konnte vorher keine Kopie Ihrer Datenbank anlegen, mit der sich der Import rückgängig machen ließe: %1</translation>
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
    <message>
        <source>the table %1 is STRICT</source>
        <translation>die Tabelle %1 ist STRICT</translation>
    </message>
    <message>
        <source>the table %1 has a CHECK constraint</source>
        <translation>die Tabelle %1 hat eine CHECK-Bedingung</translation>
    </message>
    <message>
        <source>the table %1 has a UNIQUE constraint</source>
        <translation>die Tabelle %1 hat eine UNIQUE-Bedingung</translation>
    </message>
    <message>
        <source>%1 is not the integer key of the table %2</source>
        <translation>%1 ist nicht der ganzzahlige Schlüssel der Tabelle %2</translation>
    </message>
    <message>
        <source>The database cannot be read.</source>
        <translation>Die Datenbank kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The copy could not be written.</source>
        <translation>Die Kopie konnte nicht geschrieben werden.</translation>
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
<context>
    <name>main</name>
    <message>
        <source>--index needs an address</source>
        <translation>--index braucht eine Adresse</translation>
    </message>
    <message>
        <source>Papyra is already open with this database, but its window does not answer.

Please switch to it, or end it and start Papyra again.</source>
        <translation>Papyra ist mit dieser Datenbank schon geöffnet, aber sein Fenster antwortet nicht.

Bitte wechseln Sie dorthin, oder beenden Sie es und starten Sie Papyra erneut.</translation>
    </message>
</context>
</TS>
