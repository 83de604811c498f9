#include "spreadsheet/Workbook.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <list>
#include <zip.h>

namespace Workbook {

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

// No part of a workbook that Papyra reads is anywhere near this; a bigger one is a zip bomb.
constexpr zip_uint64_t largestPart = 256 * 1024 * 1024;
// Nor does any sheet of file slots need more columns than this.
constexpr int widestRow = 1024;
constexpr int longestSheet = 1000000;

const QDate excelEpoch(1899, 12, 30);

// Text that XML 1.0 can carry: control characters other than tab and line breaks are dropped.
QString xmlSafe(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            out += c;
    }
    return out;
}

// Text content with its carriage returns kept: a reader turns a raw one into a line feed.
void writeText(QXmlStreamWriter &xml, const QString &text)
{
    const QStringList pieces = xmlSafe(text).split(QLatin1Char('\r'));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            xml.writeEntityReference(QStringLiteral("#13"));
        xml.writeCharacters(pieces.at(i));
    }
}

// A zip file made in memory.
class ZipWriter
{
public:
    ZipWriter()
    {
        zip_error_t error;
        zip_error_init(&error);
        m_source = zip_source_buffer_create(nullptr, 0, 0, &error);
        if (m_source)
            m_zip = zip_open_from_source(m_source, ZIP_TRUNCATE, &error);
        if (m_source && !m_zip)
            zip_source_free(m_source);
        zip_error_fini(&error);
    }
    ~ZipWriter()
    {
        if (m_zip)
            zip_discard(m_zip);
    }
    ZipWriter(const ZipWriter &) = delete;
    ZipWriter &operator=(const ZipWriter &) = delete;

    bool add(const char *name, const QByteArray &data, bool stored = false)
    {
        if (!m_zip)
            return false;
        m_parts.push_back(data); // libzip reads the bytes only when the zip is closed
        const QByteArray &kept = m_parts.back();
        zip_source_t *part = zip_source_buffer(m_zip, kept.constData(), zip_uint64_t(kept.size()), 0);
        if (!part)
            return false;
        const zip_int64_t index = zip_file_add(m_zip, name, part, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(part);
            return false;
        }
        return !stored || zip_set_file_compression(m_zip, zip_uint64_t(index), ZIP_CM_STORE, 0) == 0;
    }

    QByteArray finish(QString *error)
    {
        if (!m_zip) {
            fail(error, QCoreApplication::translate("Workbook", "The zip file could not be made."));
            return {};
        }
        zip_source_keep(m_source);
        if (zip_close(m_zip) != 0) {
            fail(error, QString::fromUtf8(zip_strerror(m_zip)));
            zip_source_free(m_source);
            return {};
        }
        m_zip = nullptr;
        QByteArray bytes;
        zip_stat_t stat;
        if (zip_source_open(m_source) == 0) {
            if (zip_source_stat(m_source, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)) {
                bytes.resize(qsizetype(stat.size));
                if (zip_source_read(m_source, bytes.data(), stat.size) != zip_int64_t(stat.size))
                    bytes.clear();
            }
            zip_source_close(m_source);
        }
        zip_source_free(m_source);
        if (bytes.isEmpty())
            fail(error, QCoreApplication::translate("Workbook", "The zip file could not be made."));
        return bytes;
    }

private:
    zip_source_t *m_source = nullptr;
    zip_t *m_zip = nullptr;
    std::list<QByteArray> m_parts;
};

// A zip file read from memory.
class ZipReader
{
public:
    explicit ZipReader(const QByteArray &bytes) : m_bytes(bytes)
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t *source = zip_source_buffer_create(m_bytes.constData(), zip_uint64_t(m_bytes.size()), 0, &error);
        if (source) {
            m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
            if (!m_zip)
                zip_source_free(source);
        }
        zip_error_fini(&error);
    }
    ~ZipReader()
    {
        if (m_zip)
            zip_discard(m_zip);
    }
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    bool isOpen() const { return m_zip != nullptr; }
    bool has(const QString &name) const { return m_zip && zip_name_locate(m_zip, name.toUtf8().constData(), 0) >= 0; }

    // The part's bytes; false when it is missing or cannot be read.
    bool read(const QString &name, QByteArray *out) const
    {
        if (!m_zip)
            return false;
        const zip_int64_t index = zip_name_locate(m_zip, name.toUtf8().constData(), 0);
        zip_stat_t stat;
        if (index < 0 || zip_stat_index(m_zip, zip_uint64_t(index), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
            stat.size > largestPart)
            return false;
        zip_file_t *file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
        if (!file)
            return false;
        out->resize(qsizetype(stat.size));
        const zip_int64_t got = zip_fread(file, out->data(), stat.size);
        zip_fclose(file);
        return got == zip_int64_t(stat.size);
    }

private:
    QByteArray m_bytes;
    zip_t *m_zip = nullptr;
};

QString numberText(double value)
{
    if (value == double(qint64(value)) && qAbs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

// Collects the rows of a sheet, leaving out the empty cells at the end of a row and the empty
// rows at the end of the sheet, which spreadsheet programs write as "repeated" by the thousand.
class SheetBuilder
{
public:
    void cell(int column, const QString &text, int repeat = 1)
    {
        if (text.isEmpty() || column >= widestRow)
            return;
        QStringList &row = m_rows.back();
        for (int k = 0; k < repeat && column + k < widestRow; ++k) {
            while (row.size() < column + k)
                row.append(QString());
            row.append(text);
        }
    }
    void startRow(int line)
    {
        m_rows.append(QStringList());
        m_lines.append(line);
    }
    // The row just ended stands for `repeat` rows.
    void endRow(int repeat = 1)
    {
        if (m_rows.back().isEmpty()) {
            m_rows.removeLast();
            m_lines.removeLast();
            return;
        }
        const QStringList row = m_rows.back();
        const int line = m_lines.back();
        for (int k = 1; k < repeat && m_rows.size() < longestSheet; ++k) {
            m_rows.append(row);
            m_lines.append(line + k);
        }
    }
    Csv::Table table() const
    {
        Csv::Table t;
        t.rows = m_rows;
        t.lines = m_lines;
        return t;
    }

private:
    QVector<QStringList> m_rows;
    QVector<int> m_lines;
};

// --- OpenDocument ---

const QString odsMimeType = QStringLiteral("application/vnd.oasis.opendocument.spreadsheet");
const QString officeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString tableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString textNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString styleNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString foNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QString numberNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0");
const QString manifestNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");

QByteArray odsManifest()
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.writeStartDocument();
    xml.writeNamespace(manifestNs, QStringLiteral("manifest"));
    xml.writeStartElement(manifestNs, QStringLiteral("manifest"));
    xml.writeAttribute(manifestNs, QStringLiteral("version"), QStringLiteral("1.2"));
    const QString entries[][2] = {{QStringLiteral("/"), odsMimeType},
                                  {QStringLiteral("content.xml"), QStringLiteral("text/xml")}};
    for (const auto &entry : entries) {
        xml.writeEmptyElement(manifestNs, QStringLiteral("file-entry"));
        xml.writeAttribute(manifestNs, QStringLiteral("full-path"), entry[0]);
        xml.writeAttribute(manifestNs, QStringLiteral("media-type"), entry[1]);
    }
    xml.writeEndDocument();
    return out;
}

// A paragraph as OpenDocument keeps its white space: a blank at the start or after another blank,
// and a tab, are elements of their own (plain blanks would be collapsed by the reader).
void writeParagraph(QXmlStreamWriter &xml, const QString &line)
{
    xml.writeStartElement(textNs, QStringLiteral("p"));
    QString run;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        const bool ownElement =
            c == QLatin1Char('\t') || (c == QLatin1Char(' ') && (i == 0 || line.at(i - 1) == QLatin1Char(' ')));
        if (!ownElement) {
            run += c;
            continue;
        }
        writeText(xml, run);
        run.clear();
        xml.writeEmptyElement(textNs, c == QLatin1Char('\t') ? QStringLiteral("tab") : QStringLiteral("s"));
    }
    writeText(xml, run);
    xml.writeEndElement();
}

QByteArray odsContent(const Sheet &sheet)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.writeStartDocument();
    xml.writeNamespace(officeNs, QStringLiteral("office"));
    xml.writeNamespace(styleNs, QStringLiteral("style"));
    xml.writeNamespace(textNs, QStringLiteral("text"));
    xml.writeNamespace(tableNs, QStringLiteral("table"));
    xml.writeNamespace(numberNs, QStringLiteral("number"));
    xml.writeNamespace(foNs, QStringLiteral("fo"));
    xml.writeStartElement(officeNs, QStringLiteral("document-content"));
    xml.writeAttribute(officeNs, QStringLiteral("version"), QStringLiteral("1.2"));

    xml.writeStartElement(officeNs, QStringLiteral("automatic-styles"));
    // Dates in the reader's own short form: the day, month and year in the order of their locale.
    xml.writeStartElement(numberNs, QStringLiteral("date-style"));
    xml.writeAttribute(styleNs, QStringLiteral("name"), QStringLiteral("N1"));
    xml.writeAttribute(numberNs, QStringLiteral("automatic-order"), QStringLiteral("true"));
    xml.writeEmptyElement(numberNs, QStringLiteral("day"));
    xml.writeAttribute(numberNs, QStringLiteral("style"), QStringLiteral("long"));
    xml.writeTextElement(numberNs, QStringLiteral("text"), QStringLiteral("/"));
    xml.writeEmptyElement(numberNs, QStringLiteral("month"));
    xml.writeAttribute(numberNs, QStringLiteral("style"), QStringLiteral("long"));
    xml.writeTextElement(numberNs, QStringLiteral("text"), QStringLiteral("/"));
    xml.writeEmptyElement(numberNs, QStringLiteral("year"));
    xml.writeAttribute(numberNs, QStringLiteral("style"), QStringLiteral("long"));
    xml.writeEndElement();
    xml.writeEmptyElement(styleNs, QStringLiteral("style"));
    xml.writeAttribute(styleNs, QStringLiteral("name"), QStringLiteral("date"));
    xml.writeAttribute(styleNs, QStringLiteral("family"), QStringLiteral("table-cell"));
    xml.writeAttribute(styleNs, QStringLiteral("data-style-name"), QStringLiteral("N1"));
    const char *widths[] = {"2.5cm", "10cm", "4cm", "3cm"};
    for (int c = 0; c < 4; ++c) {
        xml.writeStartElement(styleNs, QStringLiteral("style"));
        xml.writeAttribute(styleNs, QStringLiteral("name"), QStringLiteral("co%1").arg(c + 1));
        xml.writeAttribute(styleNs, QStringLiteral("family"), QStringLiteral("table-column"));
        xml.writeEmptyElement(styleNs, QStringLiteral("table-column-properties"));
        xml.writeAttribute(styleNs, QStringLiteral("column-width"), QString::fromLatin1(widths[c]));
        xml.writeEndElement();
    }
    xml.writeEndElement(); // automatic-styles

    xml.writeStartElement(officeNs, QStringLiteral("body"));
    xml.writeStartElement(officeNs, QStringLiteral("spreadsheet"));
    xml.writeStartElement(tableNs, QStringLiteral("table"));
    xml.writeAttribute(tableNs, QStringLiteral("name"), QStringLiteral("Papyra"));
    for (int c = 0; c < 4; ++c) {
        xml.writeEmptyElement(tableNs, QStringLiteral("table-column"));
        xml.writeAttribute(tableNs, QStringLiteral("style-name"), QStringLiteral("co%1").arg(c + 1));
    }
    for (const QVector<Cell> &row : sheet) {
        xml.writeStartElement(tableNs, QStringLiteral("table-row"));
        for (const Cell &cell : row) {
            xml.writeStartElement(tableNs, QStringLiteral("table-cell"));
            QString shown;
            switch (cell.kind) {
            case Cell::Kind::Empty:
                break;
            case Cell::Kind::Text:
                xml.writeAttribute(officeNs, QStringLiteral("value-type"), QStringLiteral("string"));
                shown = cell.text;
                break;
            case Cell::Kind::Number:
                xml.writeAttribute(officeNs, QStringLiteral("value-type"), QStringLiteral("float"));
                xml.writeAttribute(officeNs, QStringLiteral("value"), numberText(cell.number));
                shown = numberText(cell.number);
                break;
            case Cell::Kind::Date:
                xml.writeAttribute(tableNs, QStringLiteral("style-name"), QStringLiteral("date"));
                xml.writeAttribute(officeNs, QStringLiteral("value-type"), QStringLiteral("date"));
                xml.writeAttribute(officeNs, QStringLiteral("date-value"), cell.date.toString(Qt::ISODate));
                shown = cell.date.toString(Qt::ISODate);
                break;
            }
            // Each line of a text is a paragraph of its own.
            if (cell.kind != Cell::Kind::Empty) {
                for (const QString &line : shown.split(QLatin1Char('\n')))
                    writeParagraph(xml, line);
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return out;
}

// The text of a text:p, with its spaces, tabs and line breaks.
void readParagraph(QXmlStreamReader &xml, QString &text)
{
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
            text += xml.text();
            break;
        case QXmlStreamReader::StartElement:
            if (xml.namespaceUri() == textNs && xml.name() == QLatin1String("s")) {
                const int count = xml.attributes().value(textNs, QStringLiteral("c")).toInt();
                text += QString(qBound(1, count, 1000), QLatin1Char(' '));
            } else if (xml.namespaceUri() == textNs && xml.name() == QLatin1String("tab")) {
                text += QLatin1Char('\t');
            } else if (xml.namespaceUri() == textNs && xml.name() == QLatin1String("line-break")) {
                text += QLatin1Char('\n');
            } else if (xml.namespaceUri() == officeNs && xml.name() == QLatin1String("annotation")) {
                xml.skipCurrentElement(); // a comment on the cell is not its value
                break;
            }
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
}

QString odsCellText(QXmlStreamReader &xml)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    const QStringView type = attributes.value(officeNs, QStringLiteral("value-type"));
    QString value;
    if (type == QLatin1String("float") || type == QLatin1String("percentage") || type == QLatin1String("currency"))
        value = numberText(attributes.value(officeNs, QStringLiteral("value")).toDouble());
    else if (type == QLatin1String("date"))
        value = attributes.value(officeNs, QStringLiteral("date-value")).left(10).toString();
    QStringList paragraphs;
    while (xml.readNextStartElement()) {
        if (xml.namespaceUri() == textNs && xml.name() == QLatin1String("p")) {
            QString text;
            readParagraph(xml, text);
            paragraphs.append(text);
        } else {
            xml.skipCurrentElement();
        }
    }
    return value.isEmpty() ? paragraphs.join(QLatin1Char('\n')) : value;
}

bool readOds(const ZipReader &zip, Csv::Table *table, QString *error)
{
    QByteArray manifest;
    if (zip.read(QStringLiteral("META-INF/manifest.xml"), &manifest) && manifest.contains("encryption-data"))
        return fail(error, QCoreApplication::translate(
                               "Workbook",
                               "The spreadsheet is protected by a password, so Papyra cannot read it. Please open it "
                               "in your spreadsheet program, save a copy without the password and import that copy."));
    QByteArray content;
    if (!zip.read(QStringLiteral("content.xml"), &content))
        return fail(error,
                    QCoreApplication::translate("Workbook", "The spreadsheet is damaged: it has no readable content."));

    QXmlStreamReader xml(content);
    SheetBuilder sheet;
    bool inTable = false;
    int line = 0;
    int column = 0;
    int rowRepeat = 1;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement && xml.namespaceUri() == tableNs) {
            if (xml.name() == QLatin1String("table")) {
                inTable = true;
            } else if (inTable && xml.name() == QLatin1String("table-row")) {
                rowRepeat = qMax(1, xml.attributes().value(tableNs, QStringLiteral("number-rows-repeated")).toInt());
                sheet.startRow(line + 1);
                column = 0;
            } else if (inTable && (xml.name() == QLatin1String("table-cell") ||
                                   xml.name() == QLatin1String("covered-table-cell"))) {
                const int repeat =
                    qMax(1, xml.attributes().value(tableNs, QStringLiteral("number-columns-repeated")).toInt());
                sheet.cell(column, odsCellText(xml), repeat);
                column += qMin(repeat, widestRow);
            }
        } else if (token == QXmlStreamReader::EndElement && xml.namespaceUri() == tableNs) {
            if (xml.name() == QLatin1String("table-row") && inTable) {
                sheet.endRow(rowRepeat);
                line += rowRepeat;
                if (line >= longestSheet)
                    break;
            } else if (xml.name() == QLatin1String("table")) {
                break; // the first sheet only
            }
        }
    }
    if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        return fail(error,
                    QCoreApplication::translate("Workbook", "The spreadsheet is damaged: %1.").arg(xml.errorString()));
    *table = sheet.table();
    return true;
}

// --- Office Open XML ---

const QString mainNs = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
const QString relNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString packageRelNs = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");

QString columnName(int column)
{
    QString name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(QLatin1Char('A').unicode() + (c - 1) % 26));
    return name;
}

QByteArray xlsxSheet(const Sheet &sheet)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(mainNs);
    xml.writeStartElement(mainNs, QStringLiteral("worksheet"));
    xml.writeStartElement(mainNs, QStringLiteral("cols"));
    const int widths[] = {10, 50, 20, 14};
    for (int c = 0; c < 4; ++c) {
        xml.writeEmptyElement(mainNs, QStringLiteral("col"));
        xml.writeAttribute(QStringLiteral("min"), QString::number(c + 1));
        xml.writeAttribute(QStringLiteral("max"), QString::number(c + 1));
        xml.writeAttribute(QStringLiteral("width"), QString::number(widths[c]));
        xml.writeAttribute(QStringLiteral("customWidth"), QStringLiteral("1"));
    }
    xml.writeEndElement();
    xml.writeStartElement(mainNs, QStringLiteral("sheetData"));
    for (int r = 0; r < sheet.size(); ++r) {
        xml.writeStartElement(mainNs, QStringLiteral("row"));
        xml.writeAttribute(QStringLiteral("r"), QString::number(r + 1));
        for (int c = 0; c < sheet.at(r).size(); ++c) {
            const Cell &cell = sheet.at(r).at(c);
            if (cell.kind == Cell::Kind::Empty)
                continue;
            xml.writeStartElement(mainNs, QStringLiteral("c"));
            xml.writeAttribute(QStringLiteral("r"), columnName(c) + QString::number(r + 1));
            if (cell.kind == Cell::Kind::Text) {
                xml.writeAttribute(QStringLiteral("t"), QStringLiteral("inlineStr"));
                xml.writeStartElement(mainNs, QStringLiteral("is"));
                xml.writeStartElement(mainNs, QStringLiteral("t"));
                xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
                writeText(xml, cell.text);
                xml.writeEndElement();
                xml.writeEndElement();
            } else {
                // A date is the count of days since 30 December 1899, shown with the short date
                // format 14, which every spreadsheet program shows in its user's own form.
                const double value = cell.kind == Cell::Kind::Date ? double(excelEpoch.daysTo(cell.date)) : cell.number;
                if (cell.kind == Cell::Kind::Date)
                    xml.writeAttribute(QStringLiteral("s"), QStringLiteral("1"));
                xml.writeTextElement(mainNs, QStringLiteral("v"), numberText(value));
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return out;
}

const char xlsxContentTypes[] =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/><Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/><Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/></Types>)";
const char xlsxRootRels[] =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)";
const char xlsxWorkbook[] =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="Papyra" sheetId="1" r:id="rId1"/></sheets></workbook>)";
const char xlsxWorkbookRels[] =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/></Relationships>)";
const char xlsxStyles[] =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><fonts count="1"><font><sz val="11"/><name val="Calibri"/></font></fonts><fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills><borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders><cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs><cellXfs count="2"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/><xf numFmtId="14" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/></cellXfs></styleSheet>)";

// Whether a number format shows a date: the built-in date formats, or a format of its own that
// names a day, month or year outside quotes, brackets and escapes.
bool isDateFormat(int id, const QString &code)
{
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58))
        return true;
    if (id < 164)
        return false;
    QString plain = code;
    plain.remove(QRegularExpression(QStringLiteral(R"("[^"]*"|\[[^\]]*\]|\\.)")));
    return plain.contains(QRegularExpression(QStringLiteral("[dDyY]"))) ||
           (plain.contains(QRegularExpression(QStringLiteral("[mM]"))) &&
            !plain.contains(QRegularExpression(QStringLiteral("[hHsS]"))));
}

// The cell formats (by index) that show dates.
QVector<bool> dateStyles(const QByteArray &styles)
{
    QHash<int, QString> codes;
    QVector<bool> dates;
    QXmlStreamReader xml(styles);
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("numFmt")) {
                codes.insert(xml.attributes().value(QStringLiteral("numFmtId")).toInt(),
                             xml.attributes().value(QStringLiteral("formatCode")).toString());
            } else if (xml.name() == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (inCellXfs && xml.name() == QLatin1String("xf")) {
                const int id = xml.attributes().value(QStringLiteral("numFmtId")).toInt();
                dates.append(isDateFormat(id, codes.value(id)));
            }
        } else if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    return dates;
}

// The text of a <si> or <is>: its <t> runs, leaving out phonetic guides.
QString stringItem(QXmlStreamReader &xml)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("t"))
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
            else if (xml.name() == QLatin1String("rPh"))
                xml.skipCurrentElement();
            else
                ++depth;
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return text;
}

QStringList sharedStrings(const QByteArray &bytes)
{
    QStringList strings;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("si"))
            strings.append(stringItem(xml));
    }
    return strings;
}

// Where the first sheet lies, and whether dates count from 1904.
bool firstSheet(const ZipReader &zip, QString *path, bool *from1904)
{
    QByteArray workbook, rels;
    if (!zip.read(QStringLiteral("xl/workbook.xml"), &workbook) ||
        !zip.read(QStringLiteral("xl/_rels/workbook.xml.rels"), &rels))
        return false;
    QString id;
    *from1904 = false;
    QXmlStreamReader xml(workbook);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("workbookPr")) {
            const QStringView v = xml.attributes().value(QStringLiteral("date1904"));
            *from1904 = v == QLatin1String("1") || v == QLatin1String("true");
        } else if (xml.name() == QLatin1String("sheet") && id.isEmpty()) {
            id = xml.attributes().value(relNs, QStringLiteral("id")).toString();
        }
    }
    QXmlStreamReader relations(rels);
    while (!relations.atEnd()) {
        if (relations.readNext() == QXmlStreamReader::StartElement &&
            relations.name() == QLatin1String("Relationship") &&
            relations.attributes().value(QStringLiteral("Id")) == id) {
            const QString target = relations.attributes().value(QStringLiteral("Target")).toString();
            *path = target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
            return !id.isEmpty();
        }
    }
    return false;
}

// "BC12" → column 54 (from 0); -1 for a reference without letters.
int columnOf(QStringView reference)
{
    int column = 0;
    int letters = 0;
    for (const QChar c : reference) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            break;
        column = column * 26 + (u - u'A' + 1);
        if (++letters > 3)
            return widestRow;
    }
    return letters ? column - 1 : -1;
}

bool readXlsx(const ZipReader &zip, Csv::Table *table, QString *error)
{
    QString sheetPath;
    bool from1904 = false;
    QByteArray sheetBytes;
    if (!firstSheet(zip, &sheetPath, &from1904) || !zip.read(sheetPath, &sheetBytes))
        return fail(error, QCoreApplication::translate("Workbook",
                                                       "The workbook is damaged: its first sheet cannot be found."));
    QByteArray bytes;
    const QStringList strings =
        zip.read(QStringLiteral("xl/sharedStrings.xml"), &bytes) ? sharedStrings(bytes) : QStringList();
    const QVector<bool> dates = zip.read(QStringLiteral("xl/styles.xml"), &bytes) ? dateStyles(bytes) : QVector<bool>();
    const QDate epoch = from1904 ? QDate(1904, 1, 1) : excelEpoch;

    QXmlStreamReader xml(sheetBytes);
    SheetBuilder sheet;
    int line = 0;
    int nextColumn = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement && xml.name() == QLatin1String("row")) {
            const int r = xml.attributes().value(QStringLiteral("r")).toInt();
            line = r > line ? r : line + 1;
            if (line > longestSheet)
                break;
            sheet.startRow(line);
            nextColumn = 0;
        } else if (token == QXmlStreamReader::StartElement && xml.name() == QLatin1String("c")) {
            const QXmlStreamAttributes a = xml.attributes();
            const int given = columnOf(a.value(QStringLiteral("r")));
            const int column = given >= 0 ? given : nextColumn;
            nextColumn = column + 1;
            const QString type = a.value(QStringLiteral("t")).toString();
            const int style = a.value(QStringLiteral("s")).toInt();
            QString value;
            bool hasValue = false;
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("v")) {
                    value = xml.readElementText();
                    hasValue = true;
                } else if (xml.name() == QLatin1String("is")) {
                    value = stringItem(xml);
                    hasValue = true;
                } else {
                    xml.skipCurrentElement();
                }
            }
            if (!hasValue)
                continue;
            QString text;
            if (type == QLatin1String("s")) {
                text = strings.value(value.toInt());
            } else if (type == QLatin1String("inlineStr") || type == QLatin1String("str") ||
                       type == QLatin1String("e")) {
                text = value;
            } else if (type == QLatin1String("b")) {
                text = value == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
            } else {
                bool ok = false;
                const double number = value.toDouble(&ok);
                if (!ok)
                    text = value;
                else if (dates.value(style) && number >= 1 && number < 2958466)
                    text = epoch.addDays(qint64(number)).toString(Qt::ISODate);
                else
                    text = numberText(number);
            }
            sheet.cell(column, text);
        } else if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("row")) {
            sheet.endRow();
        }
    }
    if (xml.hasError())
        return fail(error,
                    QCoreApplication::translate("Workbook", "The workbook is damaged: %1.").arg(xml.errorString()));
    *table = sheet.table();
    return true;
}

QString mustBeSavedAgain()
{
    return QCoreApplication::translate(
        "Workbook",
        "Please open it in your spreadsheet program and save it as an Excel workbook (.xlsx), an OpenDocument "
        "spreadsheet (.ods) or a CSV file, then import that file.");
}

} // namespace

Format formatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("ods"))
        return Format::Ods;
    if (suffix == QLatin1String("xlsx"))
        return Format::Xlsx;
    return Format::Csv;
}

QByteArray writeOds(const Sheet &sheet, QString *error)
{
    ZipWriter zip;
    // The type comes first and uncompressed, so a program can tell the file's form from its start.
    const bool ok = zip.add("mimetype", odsMimeType.toLatin1(), true) &&
                    zip.add("META-INF/manifest.xml", odsManifest()) && zip.add("content.xml", odsContent(sheet));
    if (!ok) {
        fail(error, QCoreApplication::translate("Workbook", "The zip file could not be made."));
        return {};
    }
    return zip.finish(error);
}

QByteArray writeXlsx(const Sheet &sheet, QString *error)
{
    ZipWriter zip;
    const bool ok = zip.add("[Content_Types].xml", xlsxContentTypes) && zip.add("_rels/.rels", xlsxRootRels) &&
                    zip.add("xl/workbook.xml", xlsxWorkbook) &&
                    zip.add("xl/_rels/workbook.xml.rels", xlsxWorkbookRels) && zip.add("xl/styles.xml", xlsxStyles) &&
                    zip.add("xl/worksheets/sheet1.xml", xlsxSheet(sheet));
    if (!ok) {
        fail(error, QCoreApplication::translate("Workbook", "The zip file could not be made."));
        return {};
    }
    return zip.finish(error);
}

bool read(const QByteArray &bytes, Csv::Table *table, QString *error)
{
    // Older Office files, and newer ones protected by a password, are OLE compound files.
    if (bytes.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1"))) {
        const QByteArray encrypted = QStringLiteral("EncryptedPackage").toUtf8();
        QByteArray wide;
        for (const char c : encrypted)
            wide.append(c).append('\0');
        if (bytes.contains(wide))
            return fail(error, QCoreApplication::translate(
                                   "Workbook",
                                   "The workbook is protected by a password, so Papyra cannot read it. Please open it "
                                   "in your spreadsheet program, save a copy without the password and import that "
                                   "copy."));
        return fail(error,
                    QCoreApplication::translate(
                        "Workbook", "The file is an Excel 97-2003 workbook (.xls), a form Papyra cannot read. ") +
                        mustBeSavedAgain());
    }
    if (!bytes.startsWith("PK\x03\x04")) {
        *table = Csv::read(bytes);
        return true;
    }
    const ZipReader zip(bytes);
    if (!zip.isOpen())
        return fail(error, QCoreApplication::translate("Workbook", "The file is a damaged zip file."));
    QByteArray mimeType;
    if (zip.read(QStringLiteral("mimetype"), &mimeType) && mimeType.trimmed() == odsMimeType.toLatin1())
        return readOds(zip, table, error);
    if (zip.has(QStringLiteral("xl/workbook.xml")))
        return readXlsx(zip, table, error);
    if (!mimeType.isEmpty())
        return fail(error, QCoreApplication::translate("Workbook",
                                                       "The file is an OpenDocument file but not a spreadsheet (%1). ")
                                   .arg(QString::fromLatin1(mimeType.trimmed())) +
                               mustBeSavedAgain());
    return fail(error, QCoreApplication::translate("Workbook",
                                                   "The file is a zip file but not a spreadsheet Papyra can read. ") +
                           mustBeSavedAgain());
}

} // namespace Workbook
