#include "Tour.h"

#include "Drawings.h"
#include "Scene.h"
#include "Slide.h"

#include "app/MainWindow.h"
#include "print/LabelsDialog.h"
#include "store/DataSource.h"
#include "tour/Slides.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <functional>

namespace {

using Slot = Scene::Slot;

// A household's first folders; 454 is the example the tour searches for.
QVector<Slot> householdSlots()
{
    return {
        {1, QStringLiteral("Birth certificates, passports"), QStringLiteral("Home"), QString()},
        {2, QStringLiteral("Will, power of attorney"), QStringLiteral("Home"), QString()},
        {3, QStringLiteral("Tax return 2023, receipts"), QStringLiteral("Taxes"), QStringLiteral("2025-04-15")},
        {12, QStringLiteral("Health insurance cards, claims"), QStringLiteral("Insurance"), QString()},
        {105, QStringLiteral("Bank statements, savings account"), QStringLiteral("Bank"), QString()},
        {212, QStringLiteral("Mortgage, bank loan for the house"), QStringLiteral("Bank"), QString()},
        {213, QStringLiteral("Home insurance policy, house contents"), QStringLiteral("Insurance"),
         QStringLiteral("2025-09-30")},
        {454, QStringLiteral("Car insurance policy, auto, agent Dana Reed"), QStringLiteral("Insurance"),
         QStringLiteral("2025-03-01")},
        {455, QStringLiteral("Car loan papers, payment book"), QStringLiteral("Auto"), QString()},
        {456, QStringLiteral("Car service records, tires, inspection"), QStringLiteral("Auto"), QString()},
        {611, QStringLiteral("Life insurance policy"), QStringLiteral("Insurance"), QString()},
        {720, QStringLiteral("Washer and dryer manuals, receipts"), QStringLiteral("Warranties"), QString()},
    };
}

// The first eight folders as a new user types them in.
QVector<Slot> firstSlots(int count)
{
    const QVector<Slot> all = {
        {1, QStringLiteral("Birth certificates, passports"), QStringLiteral("Home"), QString()},
        {2, QStringLiteral("Will, power of attorney"), QStringLiteral("Home"), QString()},
        {3, QStringLiteral("Tax return 2023, receipts"), QStringLiteral("Taxes"), QStringLiteral("2025-04-15")},
        {4, QStringLiteral("Bank statements, savings account"), QStringLiteral("Bank"), QString()},
        {5, QStringLiteral("Car insurance policy, renewal"), QStringLiteral("Insurance"), QStringLiteral("2025-03-01")},
        {6, QStringLiteral("Electric, gas and water bills"), QStringLiteral("Bills"), QString()},
        {7, QStringLiteral("Doctor visits, prescriptions"), QStringLiteral("Health"), QString()},
        {8, QStringLiteral("School reports, diplomas"), QStringLiteral("Education"), QString()},
    };
    return all.mid(0, count);
}

const QStringList &disasterKit()
{
    static const QStringList kit = {
        QStringLiteral("Passports"),
        QStringLiteral("Passports and ID cards"),
        QStringLiteral("Marriage and divorce papers"),
        QStringLiteral("Wills, powers of attorney"),
        QStringLiteral("Life insurance policies"),
        QStringLiteral("Home insurance policy"),
        QStringLiteral("Car insurance policy"),
        QStringLiteral("Health insurance cards"),
        QStringLiteral("Medical records, prescriptions"),
        QStringLiteral("Deed or lease of your home"),
        QStringLiteral("Mortgage and loan papers"),
        QStringLiteral("Car titles and registrations"),
        QStringLiteral("Bank account numbers"),
        QStringLiteral("Credit card numbers and phones"),
        QStringLiteral("Investments and retirement"),
        QStringLiteral("Tax returns, last three years"),
        QStringLiteral("Pay slips, employment papers"),
        QStringLiteral("Pension statements"),
        QStringLiteral("Vaccination records"),
        QStringLiteral("Diplomas and transcripts"),
        QStringLiteral("Military service papers"),
        QStringLiteral("Emergency contacts, doctors"),
        QStringLiteral("Home inventory with photos"),
        QStringLiteral("Spare keys, safe-deposit box"),
        QStringLiteral("Copies of important cards"),
    };
    return kit;
}

QVector<Slot> kitSlots()
{
    QVector<Slot> entries;
    const QStringList categories = {
        QStringLiteral("Home"),      QStringLiteral("Home"),      QStringLiteral("Home"),
        QStringLiteral("Home"),      QStringLiteral("Insurance"), QStringLiteral("Insurance"),
        QStringLiteral("Insurance"), QStringLiteral("Insurance"), QStringLiteral("Health"),
        QStringLiteral("Home"),      QStringLiteral("Bank"),      QStringLiteral("Auto"),
        QStringLiteral("Bank"),      QStringLiteral("Bank"),      QStringLiteral("Bank"),
        QStringLiteral("Taxes"),     QStringLiteral("Home"),      QStringLiteral("Bank"),
        QStringLiteral("Health"),    QStringLiteral("Education"), QStringLiteral("Home"),
        QStringLiteral("Health"),    QStringLiteral("Home"),      QStringLiteral("Home"),
        QStringLiteral("Home"),
    };
    for (int i = 0; i < disasterKit().size(); ++i)
        entries.append({i + 1, QStringLiteral("Disaster kit: ") + disasterKit().at(i), categories.value(i), QString()});
    return entries;
}

// Business cards numbered like folders, with what the card itself does not say.
QVector<Slot> cardSlots()
{
    return {
        {1, QStringLiteral("Maria Lopez, accountant, birthday, chamber"), QStringLiteral("Services"),
         QStringLiteral("2025-05-03")},
        {2, QStringLiteral("Tom Becker, plumber, night calls too"), QStringLiteral("Services"), QString()},
        {3, QStringLiteral("Aisha Khan, printer, flyers and cards"), QStringLiteral("Suppliers"), QString()},
        {4, QStringLiteral("Peter Novak, lawyer, met at trade fair 2024"), QStringLiteral("Services"), QString()},
        {5, QStringLiteral("Linda Park, client, birthday, likes golf"), QStringLiteral("Clients"),
         QStringLiteral("2025-08-21")},
        {6, QStringLiteral("Sam Ortiz, electrician, referred by Tom"), QStringLiteral("Services"), QString()},
        {7, QStringLiteral("Grace Liu, banker, loans, chamber breakfast"), QStringLiteral("Services"), QString()},
        {8, QStringLiteral("Omar Haddad, client, birthday, trade fair 2024"), QStringLiteral("Clients"),
         QStringLiteral("2025-11-09")},
        {9, QStringLiteral("Julia Weber, web designer, referred by Aisha"), QStringLiteral("Suppliers"), QString()},
        {10, QStringLiteral("Ben Carter, dentist, check-up every June"), QStringLiteral("Health"),
         QStringLiteral("2025-06-02")},
        {11, QStringLiteral("Nina Rossi, neighbor, birthday, spare key"), QStringLiteral("Friends"),
         QStringLiteral("2025-02-14")},
    };
}

// A picture of the program placed on a slide, and where its parts landed.
struct Placed {
    QRect at;
    qreal scale = 1;
    QPoint origin; // the point of the source picture shown at at.topLeft()

    QRect map(const QRect &r) const
    {
        return QRect(at.left() + qRound((r.left() - origin.x()) * scale),
                     at.top() + qRound((r.top() - origin.y()) * scale), qRound(r.width() * scale),
                     qRound(r.height() * scale));
    }
};

// Shows part of a program picture as large as fits in target (never enlarged: screen text stays
// sharp), at target's top and centred across it.
Placed showPart(Slide &slide, const QImage &shot, const QRect &part, const QRect &target)
{
    const qreal scale = std::min({1.0, qreal(target.width()) / part.width(), qreal(target.height()) / part.height()});
    const QSize size(qRound(part.width() * scale), qRound(part.height() * scale));
    Placed placed;
    placed.at = slide.picture(shot.copy(part),
                              QRect(QPoint(target.left() + (target.width() - size.width()) / 2, target.top()), size),
                              &placed.scale);
    placed.origin = part.topLeft();
    return placed;
}

// The pictures of the program the tour shows, each taken once, and where their parts lie.
struct Shots {
    QHash<QString, QImage> images;
    QHash<QString, QRect> places;

    const QImage &operator[](const QString &name) const
    {
        static const QImage none;
        const auto it = images.constFind(name);
        return it == images.constEnd() ? none : *it;
    }
    QRect at(const QString &name) const { return places.value(name); }
};

QRect tabRect(Scene &scene, int tab)
{
    QTabBar *strip = scene.window().tabStrip();
    return QRect(scene.where(strip).topLeft() + strip->tabRect(tab).topLeft(), strip->tabRect(tab).size());
}

// Takes the Search Results tab after a search, and notes how far down its rows reach.
void takeResults(Shots &shots, Scene &scene, const QString &name, const QString &word)
{
    scene.showSearchResults(word);
    shots.images.insert(name, scene.shot());
    const int rows = scene.window().store().search().recordCount();
    shots.places.insert(name + QStringLiteral(" rows"),
                        scene.whereCell(QStringLiteral("grdSearch"), -1, 0)
                            .united(scene.whereCell(QStringLiteral("grdSearch"), std::max(0, rows - 1), 3)));
}

Shots takeShots(const QString &labelsFolder)
{
    Shots shots;
    auto note = [&shots](const QString &name, const QRect &r) { shots.places.insert(name, r); };
    {
        Scene scene(householdSlots());
        scene.window().SwitchTab(1);
        shots.images.insert(QStringLiteral("main page"), scene.shot());
        note(QStringLiteral("search box"), scene.where(QStringLiteral("Picture1")));
        note(QStringLiteral("banner"), scene.where(QStringLiteral("Image1")));
        note(QStringLiteral("tab strip"), scene.where(QStringLiteral("TabStrip")));
        for (int tab = 0; tab < 5; ++tab)
            note(QStringLiteral("tab %1").arg(tab + 1), tabRect(scene, tab));
        note(QStringLiteral("GO!"), scene.where(QStringLiteral("Command3")));

        scene.window().searchBox()->setText(QStringLiteral("passport"));
        shots.images.insert(QStringLiteral("typed passport"), scene.shot());
        scene.window().searchBox()->setText(QStringLiteral("car insurance"));
        shots.images.insert(QStringLiteral("typed car insurance"), scene.shot());

        takeResults(shots, scene, QStringLiteral("found"), QStringLiteral("car insurance"));
        note(QStringLiteral("found number"), scene.whereCell(QStringLiteral("grdSearch"), 0, 0));
        note(QStringLiteral("found row"), scene.whereCell(QStringLiteral("grdSearch"), 0, 1));

        takeResults(shots, scene, QStringLiteral("insurance"), QStringLiteral("insurance"));
        for (int column = 0; column < 4; ++column)
            note(QStringLiteral("results heading %1").arg(column),
                 scene.whereCell(QStringLiteral("grdSearch"), -1, column));
        note(QStringLiteral("results numbers"), scene.whereCell(QStringLiteral("grdSearch"), -1, 0)
                                                    .united(scene.whereCell(QStringLiteral("grdSearch"), 3, 0)));

        takeResults(shots, scene, QStringLiteral("reed"), QStringLiteral("reed"));
        note(QStringLiteral("reed row"), scene.whereCell(QStringLiteral("grdSearch"), 0, 1));
    }
    {
        Scene scene;
        scene.window().SwitchTab(3);
        shots.images.insert(QStringLiteral("blank"), scene.shot());
        note(QStringLiteral("grid"), scene.where(QStringLiteral("grdFile")));
        note(QStringLiteral("F5"), scene.where(QStringLiteral("Command1(0)")));
        note(QStringLiteral("buttons"),
             scene.where(QStringLiteral("Command1(0)")).united(scene.where(QStringLiteral("Command2"))));
        scene.typeIntoCell(0, QStringLiteral("Keywords"), QStringLiteral("Birth certificates, passp"));
        shots.images.insert(QStringLiteral("typing 1"), scene.shot());
        note(QStringLiteral("typing 1"), scene.whereCell(QStringLiteral("grdFile"), 0, 1));
    }
    {
        Scene scene(firstSlots(3));
        scene.window().SwitchTab(3);
        scene.typeIntoCell(3, QStringLiteral("Keywords"), QStringLiteral("Bank statements, sav"));
        shots.images.insert(QStringLiteral("typing 2"), scene.shot());
        note(QStringLiteral("typing 2"), scene.whereCell(QStringLiteral("grdFile"), 3, 1));
    }
    {
        Scene scene(firstSlots(8));
        scene.window().SwitchTab(3);
        scene.typeIntoCell(8, QStringLiteral("Keywords"), QStringLiteral("Dishwasher manual"));
        shots.images.insert(QStringLiteral("eight filled"), scene.shot());
        note(
            QStringLiteral("category and reminder"),
            scene.whereCell(QStringLiteral("grdFile"), -1, 2).united(scene.whereCell(QStringLiteral("grdFile"), 8, 3)));
    }
    {
        Scene scene(kitSlots());
        scene.window().SwitchTab(3);
        shots.images.insert(QStringLiteral("kit"), scene.shot());
    }
    {
        Scene scene(cardSlots());
        scene.window().SwitchTab(3);
        scene.typeIntoCell(11, QStringLiteral("Keywords"), QStringLiteral("Carlos Mendes, insurance agent, ch"));
        shots.images.insert(QStringLiteral("card typing"), scene.shot());
        note(QStringLiteral("card typing"), scene.whereCell(QStringLiteral("grdFile"), 11, 1));
        takeResults(shots, scene, QStringLiteral("birthday"), QStringLiteral("birthday"));
        note(QStringLiteral("birthday reminders"), scene.whereCell(QStringLiteral("grdSearch"), -1, 3)
                                                       .united(scene.whereCell(QStringLiteral("grdSearch"), 3, 3)));
        takeResults(shots, scene, QStringLiteral("chamber"), QStringLiteral("chamber"));
        takeResults(shots, scene, QStringLiteral("referred"), QStringLiteral("referred"));
        takeResults(shots, scene, QStringLiteral("trade fair"), QStringLiteral("trade fair 2024"));
    }
    {
        Dialogs silent;
        LabelsDialog dialog(labelsFolder, &silent);
        if (dialog.LoadDefs()) {
            dialog.labelList()->setCurrentRow(0);
            dialog.count()->setText(QStringLiteral("30"));
            dialog.show();
            QApplication::processEvents();
            shots.images.insert(QStringLiteral("labels"), Scene::framed(dialog.grab().toImage(), dialog.windowTitle()));
        }
    }
    return shots;
}

} // namespace

QVector<QImage> drawTour(const QString &labelsFolder)
{
    const Shots shots = takeShots(labelsFolder);
    const QRect page(0, Slide::bandHeight, Slide::width, Slide::height - Slide::bandHeight - Slide::footHeight);
    const int left = Slide::margin;
    const int right = Slide::width - Slide::margin;
    // Pictures of the program may use nearly the whole width; text keeps the wider margins.
    const QRect wide(10, page.top() + 14, Slide::width - 20, page.height() - 24);
    const QRect beside(250, page.top() + 10, 430, page.height() - 20);

    auto textBeside = [&](Slide &s, const QString &text, int pixelSize = 19) {
        s.text(QRect(left, page.top() + 24, 205, page.height() - 40), text, pixelSize);
    };
    auto textBelow = [&](Slide &s, const Placed &p, const QString &text, int pixelSize = 20) {
        s.text(QRect(left, p.at.bottom() + 22, right - left, page.bottom() - p.at.bottom() - 22), text, pixelSize,
               false, Qt::AlignHCenter | Qt::AlignTop);
    };
    // The window from its title bar down to the last result row, as wide as the slide allows.
    auto resultsTop = [&](Slide &s, const QString &name, int height = 250) {
        const QImage &shot = shots[name];
        const int bottom = shots.at(name + QStringLiteral(" rows")).bottom() + 14;
        return showPart(s, shot, QRect(0, 0, shot.width(), bottom), QRect(wide.topLeft(), QSize(wide.width(), height)));
    };
    // The slot grid around one cell, as wide as the slide allows.
    auto gridAround = [&](Slide &s, const QImage &shot, const QRect &cell, int height) {
        const QRect grid = shots.at(QStringLiteral("grid"));
        int top = grid.top();
        if (cell.bottom() + 40 > grid.top() + height) {
            // Start at a row's top edge, so the first row shown is whole.
            const int pitch = cell.height() + 1;
            top = cell.top() - (cell.top() - (cell.bottom() + 40 - height)) / pitch * pitch - 1;
        }
        return showPart(s, shot, QRect(grid.left(), top, grid.width(), std::min(height, grid.bottom() - top)),
                        QRect(wide.topLeft(), QSize(wide.width(), 260)));
    };

    struct Picture {
        QString title;
        std::function<void(Slide &)> draw;
    };
    QVector<Picture> tour;
    auto add = [&tour](const QString &title, std::function<void(Slide &)> draw) { tour.append({title, draw}); };

    const QStringList drawerNumbers = {QStringLiteral("451"), QStringLiteral("452"), QStringLiteral("453"),
                                       QStringLiteral("454"), QStringLiteral("455"), QStringLiteral("456")};

    // The idea: computer power, paper power.
    auto idea = [&](Slide &s, int stage) {
        s.text(QRect(left, page.top() + 14, right - left, 40), QStringLiteral("Computer power, paper power"), 30, true,
               Qt::AlignHCenter | Qt::AlignTop, Slide::navy);
        Drawings::computer(s.painter(), QRectF(70, 136, 190, 160), QStringLiteral("car insurance"),
                           stage >= 2 ? QStringLiteral("454") : QString());
        Drawings::drawer(s.painter(), QRectF(410, 126, 240, 170), drawerNumbers, stage >= 3 ? 3 : -1);
        if (stage == 0) {
            s.text(QRect(left, 318, right - left, 60), QStringLiteral("A two-minute guided tour of Papyra"), 22, false,
                   Qt::AlignHCenter | Qt::AlignTop);
            return;
        }
        s.text(QRect(40, 302, 250, 30), QStringLiteral("finds in a second"), 17, true, Qt::AlignHCenter);
        s.text(QRect(400, 302, 260, 30), QStringLiteral("keeps the real papers"), 17, true, Qt::AlignHCenter);
        if (stage >= 2) {
            s.text(QRect(290, 180, 110, 60), QStringLiteral("+"), 48, true, Qt::AlignCenter, Slide::accent);
            s.text(QRect(left, 338, right - left, 40), QStringLiteral("Papyra puts the two together."), 20, false,
                   Qt::AlignHCenter);
        }
        if (stage >= 3)
            s.text(QRect(left, 366, right - left, 40),
                   QStringLiteral("Your papers stay on paper. Papyra remembers where each one is."), 17, false,
                   Qt::AlignHCenter);
    };
    for (int stage = 0; stage < 4; ++stage)
        add(QStringLiteral("Welcome to Papyra"), [&, stage](Slide &s) { idea(s, stage); });

    // The problem.
    add(QStringLiteral("The problem: a messy drawer"), [&](Slide &s) {
        Drawings::drawer(s.painter(), QRectF(50, 100, 320, 250), QStringList(7, QString()), -1, true);
        s.text(QRect(400, page.top() + 60, 270, 250),
               QStringLiteral("Somewhere in this drawer is your car insurance policy.\n\nWhere exactly?"), 21);
    });
    auto numberedRow = [&](Slide &s, int top, bool question) {
        for (int i = 0; i < 6; ++i) {
            const QRectF r(left + 10 + i * 108, top, 96, 120);
            Drawings::folder(s.painter(), r, QString::number(451 + i), Drawings::manila, 0.5);
            if (question)
                s.text(QRect(int(r.left()), top + 40, 96, 70), QStringLiteral("?"), 44, true, Qt::AlignCenter,
                       Slide::accent);
        }
    };
    add(QStringLiteral("Numbered folders"), [&](Slide &s) {
        numberedRow(s, 130, false);
        s.text(QRect(left, 290, right - left, 100),
               QStringLiteral("Give every folder a number and keep them in number order. "
                              "A new folder simply takes the next number."),
               20, false, Qt::AlignHCenter);
    });
    add(QStringLiteral("The problem with numbers"), [&](Slide &s) {
        numberedRow(s, 130, true);
        s.text(QRect(left, 290, right - left, 100),
               QStringLiteral("But a number does not say what is inside. Was the car insurance in 454 or in 545?"), 20,
               false, Qt::AlignHCenter);
    });
    auto byLetter = [&](Slide &s, bool many) {
        Drawings::folder(s.painter(), QRectF(left + 10, 120, 170, 150), QStringLiteral("B - Bank"), Drawings::manila,
                         0.2);
        Drawings::sheet(s.painter(), QRectF(262, 110, 110, 140), QStringLiteral("Mortgage"), -4);
        if (!many) {
            s.text(QRect(410, page.top() + 70, 260, 220),
                   QStringLiteral("Filing by letter: papers from the bank go under B."), 21);
            return;
        }
        const QStringList others = {QStringLiteral("H - House"), QStringLiteral("L - Loan"),
                                    QStringLiteral("M - Mortgage")};
        for (int i = 0; i < others.size(); ++i)
            Drawings::folder(s.painter(), QRectF(455 + (i % 2) * 90, 80 + i * 76, 130, 90), others.at(i),
                             Drawings::manila, 0.3);
        s.arrow(QPointF(258, 185), QPointF(190, 195));
        s.arrow(QPointF(378, 150), QPointF(450, 122));
        s.arrow(QPointF(378, 185), QPointF(540, 200));
        s.arrow(QPointF(378, 220), QPointF(450, 278));
        s.text(QRect(left, 336, right - left, 70),
               QStringLiteral("But is the mortgage under B, H, L or M? A paper has many names, "
                              "and you must remember the one you used."),
               18, false, Qt::AlignHCenter);
    };
    add(QStringLiteral("Filing by letter"), [&](Slide &s) { byLetter(s, false); });
    add(QStringLiteral("Filing by letter"), [&](Slide &s) { byLetter(s, true); });

    add(QStringLiteral("The solution"), [&](Slide &s) {
        const QRectF target(430, 110, 190, 170);
        Drawings::folder(s.painter(), target, QStringLiteral("212"));
        const QStringList words = {QStringLiteral("bank"), QStringLiteral("mortgage"), QStringLiteral("house"),
                                   QStringLiteral("loan")};
        for (int i = 0; i < words.size(); ++i) {
            const QRectF t = Drawings::tag(s.painter(), QPointF(160, 120 + i * 48), words.at(i), 17);
            s.arrow(QPointF(t.right() + 6, t.center().y()), QPointF(target.left() - 6, target.center().y() + 10));
        }
        s.text(QRect(left, 318, right - left, 90),
               QStringLiteral("Number your folders, and tell Papyra in a few words what is in each. "
                              "Any of those words finds the number."),
               19, false, Qt::AlignHCenter);
    });

    // The program.
    add(QStringLiteral("Papyra's main page"), [&](Slide &s) {
        const QImage &shot = shots[QStringLiteral("main page")];
        const Placed p = showPart(s, shot, shot.rect(), beside);
        textBeside(s, QStringLiteral("This is where you start: the Search tab."), 20);
        const QRect tabs = p.map(shots.at(QStringLiteral("tab strip")));
        s.ring(QRect(tabs.left(), tabs.top(), tabs.width(), tabs.height() / 2 + 4), 2);
        const QRect n1 = s.note(QPoint(left, 190), QStringLiteral("Five tabs: F1 to F4 and F9"), 15, 180);
        s.arrow(QPointF(n1.right() + 4, n1.top() + 6), QPointF(tabs.left() + 20, tabs.top() + tabs.height() / 2 + 8));
        const QRect box = p.map(shots.at(QStringLiteral("search box")));
        s.ring(box, 3);
        const QRect n2 = s.note(QPoint(left, 300), QStringLiteral("Type a word here"), 15, 180);
        s.arrow(QPointF(n2.right() + 4, n2.center().y()), QPointF(box.left() - 6, box.center().y()));
    });
    add(QStringLiteral("A search engine for paper"), [&](Slide &s) {
        Drawings::computer(s.painter(), QRectF(60, 96, 210, 180), QStringLiteral("car insurance"),
                           QStringLiteral("454"));
        Drawings::drawer(s.painter(), QRectF(410, 96, 250, 190), drawerNumbers, 3);
        s.arrow(QPointF(290, 196), QPointF(400, 196));
        s.text(QRect(left, 306, right - left, 90),
               QStringLiteral("Like searching the web, but the answer is a folder in your own drawer."), 20, false,
               Qt::AlignHCenter);
    });
    const QRect searchArea =
        shots.at(QStringLiteral("banner")).united(shots.at(QStringLiteral("search box"))).adjusted(-12, -12, 12, 14);
    add(QStringLiteral("A search engine for paper"), [&](Slide &s) {
        const Placed p = showPart(s, shots[QStringLiteral("typed passport")], searchArea, wide);
        s.ring(p.map(shots.at(QStringLiteral("search box"))), 4);
        textBelow(s, p, QStringLiteral("Type any word you remember: a name, a company, a year, a category."), 21);
    });
    add(QStringLiteral("A search engine for paper"), [&](Slide &s) {
        const Placed p = resultsTop(s, QStringLiteral("insurance"));
        for (int column = 1; column < 4; ++column)
            s.ring(p.map(shots.at(QStringLiteral("results heading %1").arg(column))), 1);
        textBelow(s, p,
                  QStringLiteral("Papyra looks for your word in the keywords, the category and the reminder date "
                                 "of every folder."));
    });
    add(QStringLiteral("It gives you the file number"), [&](Slide &s) {
        const Placed p = resultsTop(s, QStringLiteral("insurance"));
        s.ring(p.map(shots.at(QStringLiteral("results numbers"))), 2);
        textBelow(s, p, QStringLiteral("Papyra gives you the file number..."), 24);
    });
    add(QStringLiteral("It gives you the file number"), [&](Slide &s) {
        const QRectF tag = Drawings::tag(s.painter(), QPointF(150, 200), QStringLiteral("File # 454"), 22);
        const QRectF pulled = Drawings::drawer(s.painter(), QRectF(330, 90, 320, 210), drawerNumbers, 3);
        s.arrow(QPointF(tag.right() + 8, tag.center().y()), QPointF(pulled.left() - 6, pulled.top() + 40));
        s.text(QRect(left, 320, right - left, 80),
               QStringLiteral("...and the number tells you which folder to take from the drawer."), 20, false,
               Qt::AlignHCenter);
    });

    add(QStringLiteral("Let's try: car insurance"), [&](Slide &s) {
        const Placed p = showPart(s, shots[QStringLiteral("typed car insurance")], searchArea, wide);
        const QRect go = p.map(shots.at(QStringLiteral("GO!")));
        s.ring(go, 4);
        const QRect n = s.note(QPoint(go.right() + 44, go.top() - 2), QStringLiteral("click GO!"), 15, 150);
        s.arrow(QPointF(n.left() - 2, n.center().y()), QPointF(go.right() + 8, go.center().y()));
        textBelow(s, p, QStringLiteral("Type \"car insurance\" into the search box, then click GO! or press Enter."),
                  21);
    });
    add(QStringLiteral("Found: folder 454"), [&](Slide &s) {
        const Placed p = resultsTop(s, QStringLiteral("found"));
        const QRect number = p.map(shots.at(QStringLiteral("found number")));
        s.ring(number.united(p.map(shots.at(QStringLiteral("found row")))), 3);
        const QRect n = s.note(QPoint(number.left() + 40, number.bottom() + 50),
                               QStringLiteral("Car insurance is in folder 454"), 16, 300);
        s.arrow(QPointF(n.left() + 20, n.top() - 2), QPointF(number.center().x(), number.bottom() + 6));
        textBelow(s, Placed{p.at.adjusted(0, 0, 0, 70), p.scale, p.origin},
                  QStringLiteral("The Search Results tab lists every folder that matches."), 19);
    });
    add(QStringLiteral("Pull out 454. You're done."), [&](Slide &s) {
        Drawings::drawer(s.painter(), QRectF(130, 76, 440, 260),
                         {QStringLiteral("449"), QStringLiteral("450"), QStringLiteral("451"), QStringLiteral("452"),
                          QStringLiteral("453"), QStringLiteral("454"), QStringLiteral("455"), QStringLiteral("456")},
                         5);
        s.text(QRect(left, 350, right - left, 60),
               QStringLiteral("No guessing, no digging: seconds from question to paper."), 20, false, Qt::AlignHCenter);
    });
    add(QStringLiteral("Print the labels"), [&](Slide &s) {
        Drawings::labelSheet(s.painter(), QRectF(left + 10, page.top() + 16, 190, 246), 3, 10, 451);
        if (!shots[QStringLiteral("labels")].isNull())
            s.picture(shots[QStringLiteral("labels")], QRect(240, page.top() + 16, 430, 260));
        s.text(QRect(left, 344, right - left, 60),
               QStringLiteral("Print numbered labels for the folder tabs on your own printer, "
                              "or write the numbers on by hand."),
               18, false, Qt::AlignHCenter);
    });

    // How to use it.
    const QStringList steps = {QStringLiteral("Number your folders."),
                               QStringLiteral("Type a few words for each one into Papyra."),
                               QStringLiteral("Search whenever you need a paper.")};
    auto howTo = [&](Slide &s, int shown) {
        s.text(QRect(left + 20, page.top() + 24, right - left - 40, 40), QStringLiteral("Three steps:"), 24, true,
               Qt::AlignLeft, Slide::navy);
        s.list(QRect(left + 40, page.top() + 74, right - left - 80, 150), steps.mid(0, shown), 22, true);
        const int y = page.top() + 200;
        for (int i = 0; i < 3; ++i)
            Drawings::folder(s.painter(), QRectF(left + 20 + i * 62, y + 20, 56, 90), QString::number(i + 1));
        if (shown >= 2)
            Drawings::computer(s.painter(), QRectF(260, y, 170, 140), QStringLiteral("Passports"), QString());
        if (shown >= 3)
            Drawings::computer(s.painter(), QRectF(470, y, 170, 140), QStringLiteral("passport"), QStringLiteral("1"));
    };
    add(QStringLiteral("How to use Papyra"), [&](Slide &s) { howTo(s, 1); });
    add(QStringLiteral("How to use Papyra"), [&](Slide &s) { howTo(s, 3); });
    add(QStringLiteral("How to start"), [&](Slide &s) {
        const QImage &shot = shots[QStringLiteral("main page")];
        const Placed p =
            showPart(s, shot, QRect(0, 0, shot.width(), shots.at(QStringLiteral("tab strip")).bottom() + 40),
                     QRect(wide.left(), page.top() + 40, wide.width(), 200));
        s.ring(p.map(shots.at(QStringLiteral("tab 3"))), 3);
        textBelow(s, Placed{p.at.adjusted(0, 0, 0, 30), p.scale, p.origin},
                  QStringLiteral("Click the tab \"F3 - Add Files\", or press F3."), 22);
    });
    add(QStringLiteral("How to start"), [&](Slide &s) {
        const QImage &shot = shots[QStringLiteral("blank")];
        showPart(s, shot, shot.rect(), beside);
        textBeside(s, QStringLiteral("Here is your list of numbered file slots, one for each folder."));
    });
    add(QStringLiteral("Blank to start with"), [&](Slide &s) {
        const Placed p = gridAround(s, shots[QStringLiteral("blank")], shots.at(QStringLiteral("grid")), 236);
        textBelow(s, p, QStringLiteral("Your list starts blank: 1,000 numbered slots, all of them open."), 21);
    });
    auto typing = [&](Slide &s, const QString &shot, const QString &cell, const QString &text) {
        const Placed p = gridAround(s, shots[shot], shots.at(cell), 236);
        s.ring(p.map(shots.at(cell)), 2);
        textBelow(s, p, text, 20);
    };
    add(QStringLiteral("Type a short description"), [&](Slide &s) {
        typing(s, QStringLiteral("typing 1"), QStringLiteral("typing 1"),
               QStringLiteral("Click the Keywords cell of slot 1 and type what is in folder 1."));
    });
    add(QStringLiteral("Type a short description"), [&](Slide &s) {
        typing(s, QStringLiteral("typing 2"), QStringLiteral("typing 2"),
               QStringLiteral("Use the words you would search for later. A few words are enough."));
    });
    add(QStringLiteral("Type a short description"), [&](Slide &s) {
        const QRect grid = shots.at(QStringLiteral("grid"));
        const Placed p =
            showPart(s, shots[QStringLiteral("eight filled")], QRect(grid.topLeft(), QSize(grid.width(), 292)),
                     QRect(wide.topLeft(), QSize(wide.width(), 272)));
        s.ring(p.map(shots.at(QStringLiteral("category and reminder"))), 2);
        textBelow(s, p,
                  QStringLiteral("Add a category, and a reminder date for papers that need you on a certain day. "
                                 "Moving to another row saves."),
                  18);
    });

    // The disaster kit.
    add(QStringLiteral("The disaster kit"), [&](Slide &s) {
        Drawings::kitBox(s.painter(), QRectF(left + 30, page.top() + 50, 220, 230), QStringLiteral("1 - 25"));
        s.text(QRect(300, page.top() + 90, 370, 250),
               QStringLiteral("A good first job: the 25 most important papers a household keeps, in folders 1 to 25."),
               22);
    });
    add(QStringLiteral("The disaster kit: 25 papers"), [&](Slide &s) {
        const QRect area(left, page.top() + 14, right - left, page.height() - 20);
        const int half = 13;
        s.list(QRect(area.left(), area.top(), area.width() / 2 - 10, area.height()), disasterKit().mid(0, half), 15,
               true, 1);
        s.list(QRect(area.left() + area.width() / 2 + 10, area.top(), area.width() / 2 - 10, area.height()),
               disasterKit().mid(half), 15, true, half + 1);
    });
    add(QStringLiteral("The disaster kit"), [&](Slide &s) {
        QPainter &painter = s.painter();
        const QRect sheet(200, page.top() + 12, 297, page.height() - 24);
        painter.setPen(QPen(QColor(0x9a, 0x9a, 0x9a), 1));
        painter.setBrush(Qt::white);
        painter.drawRect(sheet);
        painter.fillRect(QRect(sheet.left(), sheet.top(), sheet.width(), 10), Drawings::red);
        s.text(QRect(sheet.left(), sheet.top() + 40, sheet.width(), 60), QStringLiteral("DISASTER KIT"), 30, true,
               Qt::AlignHCenter, Drawings::red);
        s.text(QRect(sheet.left() + 20, sheet.top() + 100, sheet.width() - 40, 80),
               QStringLiteral("The 25 most important papers of our household"), 17, false, Qt::AlignHCenter);
        s.text(QRect(sheet.left() + 20, sheet.top() + 180, sheet.width() - 40, 40), QStringLiteral("Folders 1 to 25"),
               20, true, Qt::AlignHCenter, Slide::navy);
        s.text(QRect(sheet.left() + 20, sheet.top() + 240, sheet.width() - 40, 60),
               QStringLiteral("In an emergency, take this box first."), 15, false, Qt::AlignHCenter);
    });
    add(QStringLiteral("The disaster kit in Papyra"), [&](Slide &s) {
        const QImage &shot = shots[QStringLiteral("kit")];
        showPart(s, shot, shot.rect(), beside);
        textBeside(s,
                   QStringLiteral("Type them in as slots 1 to 25. Then a search for \"passport\" or \"will\" finds "
                                  "them at once."),
                   18);
    });

    // Filling in the rest.
    add(QStringLiteral("Fill in the blanks"), [&](Slide &s) {
        const QRect grid = shots.at(QStringLiteral("grid"));
        const QRect part = shots.at(QStringLiteral("buttons"))
                               .adjusted(-8, -8, 8, 0)
                               .united(QRect(grid.left(), grid.top(), grid.width(), 200));
        const Placed p =
            showPart(s, shots[QStringLiteral("blank")], part, QRect(wide.topLeft(), QSize(wide.width(), 260)));
        s.ring(p.map(shots.at(QStringLiteral("F5"))), 3);
        textBelow(s, p,
                  QStringLiteral("Then fill in the rest as you go. F5 jumps to the next open slot, so a new folder "
                                 "always gets the next free number."),
                  19);
    });
    add(QStringLiteral("Re-distribute your old files"), [&](Slide &s) {
        for (int i = 0; i < 4; ++i)
            Drawings::sheet(s.painter(), QRectF(left + 70 + i * 22, 96 - (i % 2) * 8, 90, 70), QString(), -10 + i * 7);
        Drawings::folder(s.painter(), QRectF(left + 10, 130, 190, 150), QStringLiteral("Insurance"), Drawings::manila,
                         0.0);
        const QStringList numbers = {QStringLiteral("454"), QStringLiteral("455"), QStringLiteral("456")};
        for (int i = 0; i < numbers.size(); ++i) {
            Drawings::folder(s.painter(), QRectF(470, 76 + i * 86, 130, 78), numbers.at(i));
            s.arrow(QPointF(230, 205), QPointF(462, 118 + i * 86));
        }
        s.text(QRect(left, 340, right - left, 70),
               QStringLiteral("Take your old folders one at a time. Split the fat ones: each part gets its own "
                              "number and its own words."),
               18, false, Qt::AlignHCenter);
    });
    add(QStringLiteral("Other names welcome"), [&](Slide &s) {
        const Placed p = resultsTop(s, QStringLiteral("reed"));
        s.ring(p.map(shots.at(QStringLiteral("reed row"))), 2);
        textBelow(s, p,
                  QStringLiteral("Add every name you might think of later: car insurance, auto policy, the agent's "
                                 "name. Here a search for \"reed\" finds folder 454."),
                  19);
    });

    // Business cards.
    add(QStringLiteral("Next: business cards"), [&](Slide &s) {
        Drawings::card(
            s.painter(), QRectF(90, 110, 230, 130),
            {QStringLiteral("Maria Lopez"), QStringLiteral("Accountant"), QStringLiteral("Taxes and payroll")}, 0, -6);
        Drawings::card(
            s.painter(), QRectF(370, 140, 230, 130),
            {QStringLiteral("Tom Becker"), QStringLiteral("Plumber"), QStringLiteral("Repairs, new kitchens")}, 0, 5);
        s.text(QRect(left, 320, right - left, 80),
               QStringLiteral("The same method works for business cards and contacts."), 21, false, Qt::AlignHCenter);
    });
    add(QStringLiteral("Papyra for contacts"), [&](Slide &s) {
        s.text(QRect(left, page.top() + 50, right - left, 60), QStringLiteral("Business card manager"), 34, true,
               Qt::AlignHCenter, Slide::navy);
        s.text(QRect(left, page.top() + 120, right - left, 80),
               QStringLiteral("Every card you collect, found by name, trade, place or birthday."), 21, false,
               Qt::AlignHCenter);
        Drawings::cardBox(s.painter(), QRectF(220, page.top() + 210, 257, 130), 1, 12);
    });
    add(QStringLiteral("Number cards like folders"), [&](Slide &s) {
        Drawings::cardBox(s.painter(), QRectF(left + 10, page.top() + 40, 300, 170), 1, 11);
        Drawings::card(s.painter(), QRectF(400, page.top() + 40, 240, 130),
                       {QStringLiteral("Maria Lopez"), QStringLiteral("Accountant"), QStringLiteral("555-0142")}, 1, 0);
        s.text(QRect(left, page.top() + 240, right - left, 100),
               QStringLiteral("Write a number on each card and keep them in number order, just like your folders."), 20,
               false, Qt::AlignHCenter);
    });
    add(QStringLiteral("Type in the contact"), [&](Slide &s) {
        typing(s, QStringLiteral("card typing"), QStringLiteral("card typing"),
               QStringLiteral("In Papyra, type who they are, what they do and how you met."));
    });
    add(QStringLiteral("Search: birthday"), [&](Slide &s) {
        const Placed p = resultsTop(s, QStringLiteral("birthday"));
        s.ring(p.map(shots.at(QStringLiteral("birthday reminders"))), 2);
        textBelow(s, p,
                  QStringLiteral("Note birthdays with a reminder date. A search for \"birthday\" lists them all."), 20);
    });
    add(QStringLiteral("Networking"), [&](Slide &s) {
        const QRectF c(235, page.top() + 100, 230, 130);
        Drawings::card(s.painter(), c,
                       {QStringLiteral("Maria Lopez"), QStringLiteral("Accountant"), QStringLiteral("555-0142")}, 1, 0);
        const QStringList notes = {QStringLiteral("met at the chamber breakfast"), QStringLiteral("birthday May 3"),
                                   QStringLiteral("referred by Grace"), QStringLiteral("ask about payroll")};
        const QPoint places[] = {QPoint(left, page.top() + 16), QPoint(470, page.top() + 16),
                                 QPoint(left, page.top() + 256), QPoint(470, page.top() + 256)};
        for (int i = 0; i < notes.size(); ++i) {
            const QRect n = s.note(places[i], notes.at(i), 14, 190);
            const bool upper = i < 2, leftSide = i % 2 == 0;
            const QPointF from(leftSide ? n.right() - 30 : n.left() + 30, upper ? n.bottom() + 4 : n.top() - 4);
            const QPointF to(leftSide ? c.left() + 30 : c.right() - 30, upper ? c.top() - 4 : c.bottom() + 4);
            s.arrow(from, to);
        }
        s.text(QRect(left, page.top() + 318, right - left, 40),
               QStringLiteral("Write down what the card does not say."), 19, true, Qt::AlignHCenter);
    });
    auto networking = [&](Slide &s, const QString &name, const QString &text) {
        textBelow(s, resultsTop(s, name, 230), text, 19);
    };
    add(QStringLiteral("Networking"), [&](Slide &s) {
        networking(s, QStringLiteral("chamber"),
                   QStringLiteral("Where did you meet? A search for \"chamber\" lists everyone from the chamber "
                                  "breakfast."));
    });
    add(QStringLiteral("Networking"), [&](Slide &s) {
        networking(s, QStringLiteral("referred"),
                   QStringLiteral("Who sent whom? A search for \"referred\" shows your word-of-mouth contacts."));
    });
    add(QStringLiteral("Networking"), [&](Slide &s) {
        networking(
            s, QStringLiteral("trade fair"),
            QStringLiteral("Back from a fair? A search for \"trade fair 2024\" finds the people you met there."));
    });

    // The end.
    const QStringList tenFiles = {QStringLiteral("Number ten folders."),
                                  QStringLiteral("Click \"F3 - Add Files\" and type a few words for each."),
                                  QStringLiteral("Click \"F1 - Search\", type a word and press Enter.")};
    auto tenFolders = [&](Slide &s, int top) {
        for (int i = 0; i < 10; ++i)
            Drawings::folder(s.painter(), QRectF(left + 8 + i * 64, top, 58, 80), QString::number(i + 1));
    };
    add(QStringLiteral("Your turn"), [&](Slide &s) {
        s.text(QRect(left + 20, page.top() + 20, right - left - 40, 50), QStringLiteral("Set up 10 files now..."), 28,
               true, Qt::AlignLeft, Slide::navy);
        s.list(QRect(left + 40, page.top() + 80, right - left - 80, 150), tenFiles.mid(0, 2), 21, true);
        tenFolders(s, page.top() + 250);
    });
    add(QStringLiteral("Your turn"), [&](Slide &s) {
        s.text(QRect(left + 20, page.top() + 20, right - left - 40, 50), QStringLiteral("...then search for them."), 28,
               true, Qt::AlignLeft, Slide::navy);
        s.list(QRect(left + 40, page.top() + 80, right - left - 80, 150), tenFiles, 21, true);
        const QImage &shot = shots[QStringLiteral("typed passport")];
        const Placed p = showPart(s, shot, shots.at(QStringLiteral("search box")).adjusted(-6, -6, 6, 6),
                                  QRect(left, page.top() + 250, right - left, 80));
        s.ring(p.map(shots.at(QStringLiteral("search box"))), 3);
    });
    add(QStringLiteral("The end"), [&](Slide &s) {
        s.text(QRect(left, page.top() + 24, right - left, 50), QStringLiteral("Thank you for watching!"), 30, true,
               Qt::AlignHCenter, Slide::navy);
        s.text(QRect(left, page.top() + 82, right - left, 40),
               QStringLiteral("Set up 10 files now, then search for them."), 22, false, Qt::AlignHCenter);
        tenFolders(s, page.top() + 150);
        s.text(QRect(left, page.top() + 262, right - left, 30), QStringLiteral("Click \"F3 - Add Files\" to begin."),
               19, true, Qt::AlignHCenter);
        s.text(QRect(left, page.top() + 296, right - left, 30),
               QStringLiteral("To see this tour again, click \"F9 - Start Here\"."), 17, false, Qt::AlignHCenter);
    });

    QVector<QImage> pictures;
    for (int i = 0; i < tour.size(); ++i) {
        Slide slide(tour.at(i).title);
        tour.at(i).draw(slide);
        pictures.append(slide.finish(i, tour.size()));
    }
    return pictures;
}
