// The built-in German captions and the language catalogs that replace them.
#include "core/shell/texttables.h"

#include "base/files.h"

#include <QDir>
#include <QDirIterator>

#include <array>
#include <span>

using namespace Qt::StringLiterals;

namespace {

// Hands out the lines of a byte buffer one by one; CR, LF and CR LF each end a line.
class LineReader {
public:
    explicit LineReader(QByteArrayView bytes) : bytes_(bytes) {}

    std::optional<QByteArrayView> next() {
        if (pos_ >= bytes_.size()) {
            return std::nullopt;
        }
        qsizetype end = pos_;
        while (end < bytes_.size() && bytes_[end] != '\r' && bytes_[end] != '\n') {
            ++end;
        }
        const QByteArrayView line = bytes_.sliced(pos_, end - pos_);
        pos_ = end;
        if (pos_ < bytes_.size()) {
            const bool carriageReturn = bytes_[pos_] == '\r';
            ++pos_;
            if (carriageReturn && pos_ < bytes_.size() && bytes_[pos_] == '\n') {
                ++pos_;
            }
        }
        return line;
    }

private:
    QByteArrayView bytes_;
    qsizetype pos_ = 0;
};

std::optional<QString> findCatalog(const QString& workDir, const QString& language) {
    const QString folder = QDir(workDir).filePath(u"catalog"_s);
    const QString wanted = language + u".catalog"_s;
    // Listing instead of opening the name directly keeps the match case-sensitive on every file
    // system and keeps a language such as "../x" from reaching outside the folder. Special files
    // (pipes, devices) are left out, as reading them could block.
    QDirIterator entries(folder, QDir::Files | QDir::Hidden);
    while (entries.hasNext()) {
        entries.next();
        if (entries.fileName() == wanted) {
            return entries.filePath();
        }
    }
    return std::nullopt;
}

}  // namespace

TextTables builtInTexts() {
    // std::to_array sizes each list by its texts, so a list with an entry too many or too few
    // does not compile against its table.
    TextTables tables;
    tables.main_ = std::to_array<QString>({
        u"File"_s,
        u"Set laden"_s,
        u"Set speichern"_s,
        u"Export"_s,
        u"pdf"_s,
        u"csv"_s,
        u"Lernkarten drucken"_s,
        u"Beenden"_s,
        u"Bearbeiten"_s,
        u"Neues Kanji erfassen"_s,
        u"Kanji editieren"_s,
        u"Kanji löschen"_s,
        u"Profil erstellen"_s,
        u"Profil Einstellungen"_s,
        u"Profil löschen"_s,
        u"Ansicht"_s,
        u"Einzel"_s,
        u"Gruppen"_s,
        u"Liste"_s,
        u"nach Index 1"_s,
        u"nach Index 2"_s,
        u"nach Lauten"_s,
        u"schon gelernt"_s,
        u"aktuell zu lernen"_s,
        u"ungelernt"_s,
        u"Statistik"_s,
        u"Einstellungen"_s,
        u"Training"_s,
        u"Tests"_s,
        u"Allgemein"_s,
        u"Hilfe"_s,
        u"Info"_s,
        u"Über"_s,
        u"Kanji"_s,
        u"Akt. Kanji: "_s,
        u"Genshi"_s,
        u"Sortierung 1"_s,
        u"JLPT"_s,
        u"Ende"_s,
        u"Lernen"_s,
        u"Trainieren"_s,
        u"Test"_s,
        u"Modus"_s,
        u"Sprachaufnahme"_s,
        u"letzter Profi"_s,
        u"KUN Yomi"_s,
        u"ON Yomi"_s,
        u"Statistik"_s,
        u"Profil"_s,
        u"Edit Beenden"_s,
        u"Merkhilfe"_s,
        u"Importiere CSV"_s,
        u"Neues Set"_s,
        u"Liste optimieren"_s,
        u"Copy"_s,
    });
    tables.training_ = std::to_array<QString>({
        u"Trainingsmodus"_s,
        u"Kanji"_s,
        u"zeige"_s,
        u"On-Yomi"_s,
        u"Kun-Yyomi"_s,
        u"Übersetzung"_s,
        u"frage nach"_s,
        u"Aussprache"_s,
        u"Aussprache"_s,
        u"Übersetzung"_s,
        u"Kun-Yyomi"_s,
        u"On-Yomi"_s,
        u"Kanji"_s,
        u"bis"_s,
        u"Was für Zeichen"_s,
        u"Spanne"_s,
        u"Alle"_s,
        u"Start"_s,
        u"Sortierung1"_s,
        u"JLPT"_s,
        u"Zufall"_s,
        u"4"_s,
        u"3"_s,
        u"2"_s,
        u"1"_s,
        u"Prüfen"_s,
        u"Nächstes"_s,
        u"Reihenfolge"_s,
        u"Schlechtesten"_s,
        u"absolut"_s,
        u"relativ"_s,
        u"Auswahl"_s,
        u"Manuell"_s,
    });
    tables.import_ = std::to_array<QString>({
        u"Anzahl Spalten"_s,
        u"Anzahl Datensätze"_s,
        u"OK"_s,
        u"Importdaten"_s,
        u"Spaltenzuordnung"_s,
        u"Komma"_s,
        u"Semikolon"_s,
        u"Tabulator"_s,
        u"Leerzeichen"_s,
        u"Sonstiges"_s,
        u"CSV Import"_s,
        u"Add"_s,
        u"Quelldatei"_s,
        u"Import"_s,
        u"Abbruch"_s,
    });
    tables.statistics_ = std::to_array<QString>({
        u"Kanji"_s,
        u"Pos"_s,
        u"Neg"_s,
        u"Quote"_s,
        u"OK"_s,
        u"Allgemein"_s,
        u"Sortiere nach Kanji"_s,
        u"Sortiere nach Richtigen"_s,
        u"Sortiere nach Falschen"_s,
        u"Sortiere nach Quote"_s,
        u"Teilweise"_s,
        u"Auswahl"_s,
        u"On-Lesung"_s,
        u"Kun-Lesung"_s,
        u"Bedeutung"_s,
    });
    tables.selection_ = std::to_array<QString>({
        u"OK"_s,
        u"Kanji"_s,
        u"Richtig"_s,
        u"Falsch"_s,
        u"Quote"_s,
        u"Sortiere nach Kanji"_s,
        u"Sortiere nach Richtigen"_s,
        u"Sortiere nach Falschen"_s,
        u"Sortiere nach Quote"_s,
        u"Sortiere"_s,
        u"Selektiere"_s,
        u"Alle"_s,
        u"Keine"_s,
        u"bisher nur falsch"_s,
        u"Quote 1-49%"_s,
        u"Quote 50-74%"_s,
        u"Quote 75-89%"_s,
        u"Quote 90-99"_s,
        u"Insgesamt: "_s,
        u"Selektiert: "_s,
        u"Abbruch"_s,
        u"Teilweise"_s,
        u"Zeige"_s,
        u"ON-Lesung"_s,
        u"KUN-Lesung"_s,
        u"Bedeutung"_s,
    });
    tables.export_ = std::to_array<QString>({
        u"OK"_s,
        u"Alle"_s,
        u"Spanne"_s,
        u"von"_s,
        u"bis"_s,
        u"Kanji"_s,
        u"Auswahl"_s,
        u"Angaben"_s,
        u"Unicode des Kanji"_s,
        u"ON-Yomi"_s,
        u"Kun-Yomi"_s,
        u"mit Bedeutung"_s,
        u"mit Bedeutung"_s,
        u"mit Hiragana"_s,
        u"mit Romanji"_s,
        u"mit Kanjischreibweise"_s,
        u"Merksatz"_s,
        u"Genji"_s,
        u"Abbruch"_s,
        u"je eigene Spalte"_s,
        u"in einer Spalte"_s,
    });
    tables.messages_ = std::to_array<QString>({
        u"Übersicht"_s,
        u"Trainieren"_s,
        u"Listen"_s,
        u"Kanji"_s,
        u"Akt"_s,
        u"ON"_s,
        u"Kun"_s,
        u"Bed"_s,
        u"Als Genshi übernehmen"_s,
        u"Über "_s,
        u"Kanji: "_s,
        u"Serie: "_s,
        u"Lade Kanjiset"_s,
        u"Kanjiset (*.rki)|*.rki"_s,
        u"Die Sicherungskopie von %1 konnte nicht angelegt werden: %2. "
        u"Das Set wurde nicht gespeichert."_s,
        u"Das Set konnte nicht in %1 gespeichert werden: %2. "
        u"Es bleibt im Speicher erhalten."_s,
        u"Trotzdem beenden? Die Änderungen am Set gehen dann verloren."_s,
        u"Trotzdem laden? Die Änderungen am Set gehen dann verloren."_s,
        u"Trotzdem ein neues Set anlegen? Die Änderungen am Set gehen dann verloren."_s,
        u"Das Set hat keinen Namen und wurde nicht gespeichert."_s,
        u"Das Set %1 konnte nicht gelesen werden: %2. Die Datei wird nicht durch ein leeres Set "
        u"ersetzt, und das Profil bleibt, wie es ist."_s,
        u"Keine lesbare Set-Datei (beschädigt oder unvollständig)"_s,
        u"Die Einstellungen konnten nicht in %1 gespeichert werden: %2."_s,
        u"Kein Speicherplatz"_s,
        u"Keine Berechtigung"_s,
        u"Nicht gefunden"_s,
        u"Datei zu groß"_s,
        u"Ein Ordner trägt diesen Namen"_s,
        u"Ein-/Ausgabefehler (%1)"_s,
        u"Die Sicherungskopie von %1 konnte nicht angelegt werden: %2. Das Profil wurde nicht gespeichert."_s,
        u"Das Profil konnte nicht in %1 gespeichert werden: %2. Es bleibt im Speicher erhalten."_s,
        u"Geben Sie den Profilnamen ein"_s,
        u"Ein Profilname kann weder „/“ noch „\\“ noch Steuerzeichen enthalten: %1"_s,
        u"Das Profil %1 gibt es schon. Ersetzen? Seine Ergebnisse gehen dann verloren."_s,
        u"Profile (*.rkpr)|*.rkpr"_s,
        u"Soll das Profil %1 gelöscht werden?"_s,
        u"Kanji überprüfen"_s,
        u"Stimmt das Kanji"_s,
        u"Trainieren - Kurzauswertung"_s,
        u"%1 richtig  (%2)"_s,
        u"%1 teilweise  (%2)"_s,
        u"%1 falsch  (%2)"_s,
        u"Gesamt-Quote: %1%"_s,
        u"Training: %1  (%2)"_s,
        u"  +: %1     -: %2              (%3 %)"_s,
        u"Trainingsauswahl "_s,
        u"Bitte Name für neues Set eingeben"_s,
        u"Neues Set"_s,
        u"Der Name %1 kann kein Set benennen: Er darf weder „/“, „\\“ noch „..“ enthalten, keine Steuerzeichen und keines der Zeichen < > : \" | ? *."_s,
        u"Das Set %1 gibt es schon. Ersetzen?"_s,
        u"Soll das Kanji Nr: %1: %2 gelöscht werden?"_s,
        u"Bitte Kanji eingeben"_s,
        u"Strichfolgen-Bild auswählen"_s,
        u"Kanji-bild (*.png)|*.png"_s,
        u"Das Bild konnte nicht nach %1 kopiert werden: %2."_s,
        u"Genshiliste"_s,
        u"Nr"_s,
        u"Genshi"_s,
        u" "_s,
        u"Bedeutung"_s,
        u"Anz"_s,
        u"Kurz"_s,
        u"Beispiele"_s,
        u"OK"_s,
        u"Die Datei %1 konnte nicht geschrieben werden: %2."_s,
        u"PDF wird geschrieben …"_s,
        u"Statistik"_s,
        u"Zusammenfassung"_s,
        u"Kanji insgesamt: "_s,
        u"Trainiert: "_s,
        u"  - Quote: "_s,
        u"Noch nicht trainiert: "_s,
        u"Die einzelnen Kanji "_s,
        u"Immer richtig (100%): "_s,
        u"Sehr oft richtig (90-99%): "_s,
        u"Meist richtig (75-89%): "_s,
        u"Öfter richtig (50-74%): "_s,
        u"Manchmal richtig (0-49%): "_s,
        u"Nie richtig (0%): "_s,
        u"Beste Einzel-Quote: "_s,
        u"Schlechteste Einzel-Quote: "_s,
        u"drag and drop the items from the other gadget to create the import order|"
        u"double right click an item to remove it"_s,
        u"Grundstruktur für den Import||Index 1|JLPT|Kanji/Unicode|On Lesung|Kun Lesung|"
        u"Bedeutung|Bedeutung Genshi|Genshiliste|bis zu 4x...|Pfad zu Soundfile|"
        u"Text des Soundfiles"_s,
        u"Erste Zeile ist Überschrift"_s,
        u"Optimiere die importierte Liste"_s,
        u"CSV (*.csv)|*.csv"_s,
        u"Die Datei %1 kann nicht gelesen werden: %2."_s,
        u"Liste optimiert: %1 zusammengeführt, %2 entfernt"_s,
        u"Bewertung: richtig, alle Striche in der richtigen Reihenfolge"_s,
        u"Bewertung: teilweise richtig, rot markierte Striche weichen ab"_s,
        u"Bewertung: falsch"_s,
        u"Für dieses Kanji ist keine Strichfolge bekannt; bewertet nach der Erkennung."_s,
        u"Erkannt: %1"_s,
        u"Erkannt: nichts"_s,
        u"Die Datei ist eine Verknüpfung (symbolischer Link)"_s,
        u"Keine gewöhnliche Datei (ein Gerät oder eine Pipe)"_s,
        u"%1 ist nicht im Set"_s,
        u"Das Profil %1 wurde gelöscht. Wiederherstellen? Bei Nein wird es durch ein neues, "
        u"leeres Profil ersetzt."_s,
        u"Das Profil konnte nicht nach %1 verschoben werden: %2."_s,
        u"Zeichensatz"_s,
        u"Zeichensatz: %1"_s,
        u"Zeile %1: Anführungszeichen nicht geschlossen"_s,
        u"Doppelt behalten: %1 Kanji"_s,
        u"Import: %1 neu, %2 aktualisiert"_s,
        u"Fällig"_s,
        u"Fällig: %1   Neu: %2"_s,
        u"Nächste Wiederholung: %1"_s,
        u"Das Lernprotokoll %1 ist beschädigt. Es wurde als %2 aufbewahrt; mit der nächsten Antwort beginnt ein neues."_s,
        u"Das Lernprotokoll %1 kann nicht benutzt werden: %2. Die Antworten dieser Sitzung werden nur im Profil gezählt."_s,
        u"Die Trainingseinstellungen konnten nicht in %1 gespeichert werden: %2."_s,
        u"Vorschau"_s,
        u"Erwartete Antworten"_s,
        u"Bekannt (%)"_s,
        u"Erwartete Antworten an den nächsten 30 Tagen, ab heute: %1"_s,
        u"%1: %2 von %3 bekannt (%4 %)"_s,
        u"ohne JLPT"_s,
        u"Gewünschte Erinnerung (%):"_s,
        u"Neue Kanji pro Tag:"_s,
        u"Optimieren"_s,
        u"Die Parameter werden an das Lernprotokoll angepasst …"_s,
        u"Log-Verlust auf den letzten 20 % der Antworten: vorher %1, nachher %2."_s,
        u"Die angepassten Parameter sagen besser voraus und werden verwendet."_s,
        u"Die bisherigen Parameter sagen besser voraus und bleiben."_s,
        u"Zum Optimieren braucht das Lernprotokoll mindestens %1 Antworten; es hält %2."_s,
        u"Die nächsten 30 Tage, heute links"_s,
        u"Strich %1: falsche Richtung"_s,
        u"Striche %1 und %2 vertauscht"_s,
        u"Strich %1 fehlt"_s,
        u"ein Strich zu viel"_s,
        u"Strich für Strich"_s,
        u"Kein Ton: %1"_s,
        u"keine Tonausgabe"_s,
        u"keine Toneingabe"_s,
        u"Aufnahme als Klang des Beispiels speichern"_s,
        u"Aufnahme nicht gespeichert: %1"_s,
        u"Vorder- und Rückseiten (beidseitig)"_s,
        u"%1 Striche"_s,
        u"JLPT %1"_s,
        u"die schwächsten im Profil, mit Schreiben"_s,
        u"die des letzten Trainings"_s,
        u"JLPT-Stufe"_s,
        u"höchstens"_s,
        u"Keine Kanji passen zu dieser Auswahl."_s,
        u"Lernen mit Renkari|Die erste Woche: Legen Sie mit „Bearbeiten“ → „Profil erstellen“ "
        u"ein Profil an; es merkt sich jede Antwort. Nehmen Sie sich am Tag etwa zehn neue "
        u"Kanji vor. Die Seite „Übersicht“ zeigt das Kanji, seine Lesungen, unter „Merkhilfe“ "
        u"seine Bedeutung (deutsch, dann englisch), vier Beispielwörter und die Strichfolge; "
        u"die Pfeile blättern, der Knopf neben einem Beispiel spielt es ab. Lesen Sie jede "
        u"Karte laut und schreiben Sie das Kanji einige Male in der gezeigten Strichfolge.|Die "
        u"tägliche Wiederholung: Wählen Sie auf der Seite „Training“ unter „Was für Zeichen“ "
        u"die Auswahl „Fällig“. Sie enthält die Kanji, die Sie bald vergessen würden, und "
        u"einige neue; wie viele neue am Tag, stellen Sie unter „Bearbeiten“ → „Statistik“ → "
        u"„Vorschau“ ein. Antworten Sie bei „Übersetzung“ deutsch oder englisch; „ue“ statt „ü“ "
        u"und „ss“ statt „ß“ gelten ebenso, ein Artikel davor stört nicht. Lesungen schreiben "
        u"Sie in Kana oder Romaji. Wiederholen Sie lieber täglich kurz als selten "
        u"lange.|Schreiben: Kreuzen Sie unter „frage nach“ das Kanji an und unter „zeige“ ab. "
        u"Klicken Sie in das weiße Feld und schreiben Sie das Kanji Strich für Strich mit der "
        u"Maus, einem Stift oder dem Finger. „Prüfen“ vergleicht Form, Lage, Richtung und "
        u"Reihenfolge jedes Strichs; mit „Strich für Strich“ wird jeder Strich beurteilt, "
        u"sobald Sie absetzen.|Drucken: „File“ → „Lernkarten drucken“ macht Übungsblätter mit "
        u"Ihren schwächsten Kanji zum Nachschreiben. „File“ → „Export“ → „pdf“ schreibt "
        u"Lernkarten: vorn das Kanji, hinten Lesungen, Bedeutung, Beispiele und Strichfolge; "
        u"drucken Sie beidseitig über die lange Kante.|Tasten: F2 prüft im Training die Antwort "
        u"und führt dann zur nächsten Frage. Tab springt zum nächsten Feld. In Fenstern wie "
        u"diesem bestätigt Eingabe, Escape schließt."_s,
        u"Die deutsche Fassung des JLPT-Sets übernehmen? Sie gibt jedem Kanji deutsche Bedeutungen "
        u"und Beispiele; Ihr Profil bleibt gültig."_s,
        u"Suchen"_s,
        u"Lesungen"_s,
        u"Bedeutung"_s,
        u"JLPT"_s,
        u"Nr."_s,
        u"Radikal"_s,
        u"Striche"_s,
        u"alle"_s,
        u"Zeichnen:"_s,
        u"Neu zeichnen"_s,
        u"%1 gefunden"_s,
        u"Problemkanji"_s,
        u"Problemkanji: oft wieder vergessen"_s,
        u"Nach 30 Tagen voraussichtlich bekannt: %1 von %2 Kanji"_s,
        u"Zeit am Tag:"_s,
        u"Antworten"_s,
        u"Minuten"_s,
        u"(%1 s je Antwort)"_s,
        u"Empfohlen: %1 %, %2 neue am Tag"_s,
        u"Empfehlung wird berechnet … %1 %"_s,
        u"Übernehmen"_s,
        u"Renkari läuft schon mit diesem Ordner."_s,
        u"Trotzdem beenden? Die Ergebnisse im Profil gehen dann verloren."_s,
        u"Das Profil %1 kann nicht gelesen werden: %2. Es wird nicht benutzt und nicht "
        u"überschrieben."_s,
        u"Die Einstellungen %1 können nicht gelesen werden: %2. Die Datei wird nicht "
        u"überschrieben."_s,
        u"Das Profil %1 kann nicht wiederhergestellt werden: %2 gibt es schon. Es bleibt "
        u"gelöscht."_s,
        u"Anki-Paket (*.apkg *.colpkg)|*.apkg *.colpkg"_s,
        u"Anki Import"_s,
        u"Notiztyp"_s,
        u"Kanji|On Lesung|Kun Lesung|Bedeutung|Beispiele"_s,
        u"(kein Feld)"_s,
        u"Kartenvorlage fragt ab"_s,
        u"Bedeutung|Lesung On|Lesung Kun|Schreiben|nicht übernehmen"_s,
        u"Kein Profil: der Verlauf wird nicht übernommen"_s,
        u"%1 übernommen, %2 ergänzt, %3 übersprungen: kein einzelnes Kanji"_s,
        u"Das Anki-Paket %1 kann nicht importiert werden: %2."_s,
        u"es ist keine Zip-Datei"_s,
        u"es enthält eine Datei mit einem Pfad als Namen (%1)"_s,
        u"es enthält keine Anki-Sammlung (%1)"_s,
        u"die Sammlung %1 ist keine SQLite-Datenbank"_s,
        u"die Sammlung ist beschädigt (%1)"_s,
        u"die komprimierten Daten von %1 sind abgeschnitten oder beschädigt"_s,
        u"es ist zu groß (%1)"_s,
        u"im temporären Ordner %1 ist nicht genug Platz"_s,
        u"eine Mediendatei heißt wie ein Pfad: %1"_s,
        u"der Notiztyp %1 hat zu viele Felder"_s,
        u"es enthält keine Notizen"_s,
        u"Der Klang %1 konnte nicht gespeichert werden: %2."_s,
        u"Lernverlauf (FSRS)"_s,
        u"Lernverlauf exportieren"_s,
        u"CSV (*.csv)|*.csv"_s,
        u"Ohne Profil gibt es keinen Lernverlauf zu exportieren."_s,
        u"%1 Antworten übernommen"_s,
        u"Der Verlauf konnte nicht in das Lernprotokoll %1 übernommen werden: %2."_s,
        u"Das Set %1 wurde auf zwei Rechnern verschieden geändert. Bei diesen Kanji gilt die "
        u"Fassung dieses Rechners: %2. Die Fassung des anderen Rechners liegt 30 Tage lang in "
        u"%3."_s,
        u"Die Konfliktkopie %1 wurde nicht zusammengeführt und bleibt liegen: %2"_s,
        u"Training"_s,
        u"Tippfehler nachsichtig"_s,
        u"Fast – noch einmal?"_s,
        u"Richtig"_s,
        u"Teilweise"_s,
        u"Falsch"_s,
        u"Strich %2 kommt später, erst Strich %1"_s,
        u"Strich %1 passt nicht"_s,
        u"Fehler üben (%1)"_s,
        u"Rückgängig"_s,
        u"Leicht"_s,
    });
    return tables;
}

std::optional<TextTables> parseCatalog(const QByteArray& bytes) {
    LineReader lines(bytes);
    const std::optional<QByteArrayView> header = lines.next();
    if (!header || *header != "Catalog") {
        return std::nullopt;
    }
    TextTables tables = builtInTexts();
    // The tables in the order in which a catalog lists them.
    const std::array<std::span<QString>, 7> catalogOrder = {
        tables.main_,      tables.training_, tables.import_,  tables.statistics_,
        tables.selection_, tables.export_,   tables.messages_};
    for (const std::span<QString> table : catalogOrder) {
        for (QString& text : table) {
            const std::optional<QByteArrayView> line = lines.next();
            if (!line) {
                return tables;
            }
            text = QString::fromUtf8(*line);
        }
    }
    return tables;
}

namespace {

FileResult<TextTables> readCatalog(const QString& path) {
    const FileResult<QByteArray> bytes = readWholeFile(path);
    if (!bytes) {
        return unexpected(bytes.error());
    }
    if (std::optional<TextTables> tables = parseCatalog(*bytes)) {
        return std::move(*tables);
    }
    return unexpected(FileError{FileErrorKind::Malformed, {}});
}

}  // namespace

TextTables fillTextTables(const QString& workDir, QString& language) {
    if (!language.isEmpty()) {
        if (const std::optional<QString> path = findCatalog(workDir, language)) {
            if (FileResult<TextTables> tables = readCatalog(*path)) {
                return std::move(tables).value();
            }
        }
    }
    // Blank captions would leave the program unusable, so a catalog that is no catalog is
    // treated like a missing one.
    language.clear();
    return builtInTexts();
}

QString fileErrorText(const TextTables& texts, const FileError& error) {
    switch (error.kind) {
        case FileErrorKind::NoSpace:
            return texts.text(MessageText::ReasonNoSpace);
        case FileErrorKind::AccessDenied:
            return texts.text(MessageText::ReasonAccessDenied);
        case FileErrorKind::NotFound:
            return texts.text(MessageText::ReasonNotFound);
        case FileErrorKind::TooLarge:
            return texts.text(MessageText::ReasonTooLarge);
        case FileErrorKind::IsFolder:
            return texts.text(MessageText::ReasonIsFolder);
        case FileErrorKind::IsLink:
            return texts.text(MessageText::ReasonIsLink);
        case FileErrorKind::NotRegularFile:
            return texts.text(MessageText::ReasonNotRegularFile);
        // Of the formats, only a set file that holds no set is reported to the learner.
        case FileErrorKind::Malformed:
            return texts.text(MessageText::ReasonNoSetFile);
        case FileErrorKind::Other:
            break;
    }
    return texts.text(MessageText::ReasonOther).arg(error.systemText);
}
