#pragma once

#include <QString>
#include <QTemporaryDir>

// A throw-away program folder holding a copy of the built template as Varnel.mdb (or a database
// of any size made by the schema code), and the built data files beside it.
class TestFolder
{
public:
    enum class Contents { Empty, TemplateOnly, Ready };

    explicit TestFolder(Contents contents = Contents::Ready);

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QString databasePath() const;
    QString templatePath() const;

    // Replaces Varnel.mdb with a fresh database of slotCount slots.
    bool makeDatabase(int slotCount);
    // Copies the built program data (slide show pictures, label definitions) into the folder.
    bool copyProgramData();

    static QString builtTemplate();
    static QString builtProgramFolder();

private:
    QTemporaryDir m_dir;
};

// Small file steps the tests share: a whole file written or read, and a digest of its bytes (empty
// when the file cannot be read).
bool writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);
QByteArray digest(const QString &path);
