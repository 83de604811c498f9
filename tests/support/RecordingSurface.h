#pragma once

#include "print/PrintSurface.h"

#include <QVector>

// Keeps every operation instead of printing it, so the exact lines of a report can be read back.
class RecordingSurface : public PrintSurface
{
public:
    struct Operation {
        enum class Kind { PrintLine, FontName, FontSize, EndDocument };
        Kind kind;
        QString text; // the printed text or the font name
        qreal size = 0;
        bool operator==(const Operation &other) const
        {
            return kind == other.kind && text == other.text && size == other.size;
        }
    };

    void printLine(const QString &text) override { m_operations.append({Operation::Kind::PrintLine, text}); }
    void setFontName(const QString &name) override { m_operations.append({Operation::Kind::FontName, name}); }
    void setFontSize(qreal points) override { m_operations.append({Operation::Kind::FontSize, QString(), points}); }
    bool endDocument() override
    {
        m_operations.append({Operation::Kind::EndDocument, QString()});
        return true;
    }

    const QVector<Operation> &operations() const { return m_operations; }
    // The text of every print operation, in order.
    QStringList printed() const;
    // The lines as they fall on the page, TABs kept.
    QStringList lines() const;

private:
    QVector<Operation> m_operations;
};
