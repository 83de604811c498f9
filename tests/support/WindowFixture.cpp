#include "WindowFixture.h"

#include <QTest>

bool WindowFixture::open(int slotCount, ScriptedDialogs *dialogs)
{
    if (!m_folder.isValid() || (slotCount > 0 && !m_folder.makeDatabase(slotCount)))
        return false;
    if (dialogs)
        m_dialogs = dialogs;
    m_window = std::make_unique<MainWindow>(m_folder.path(), m_dialogs);
    m_window->show();
    m_window->activateWindow();
    return QTest::qWaitForWindowActive(m_window.get());
}

QSqlQuery WindowFixture::sql(const QString &statement)
{
    QSqlQuery query(m_window->store().engine().connection());
    query.exec(statement);
    return query;
}
