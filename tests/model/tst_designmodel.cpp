#include "design/designwindowids.h"
#include "model/componentkind.h"
#include "model/designmodel.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "support/placing.h"

#include <QApplication>
#include <QtTest>

#include <limits>

using model::ComponentKind;
using shell::ids::ComponentList;
using widgets::Prop;

Q_DECLARE_METATYPE(std::optional<model::ComponentKind>)

class tst_DesignModel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void kindWords_data();
    void kindWords();
    void kindWordsNeverContainEachOther();
    void kindOfEntry_data();
    void kindOfEntry();
    void numberOfEntry_data();
    void numberOfEntry();

    void emptyDesignAfterStartUp();
    void numberingRunsAcrossKinds_data();
    void numberingRunsAcrossKinds();
    void invariantsHoldAfterEveryPlacement();
    void tenthEntryReadsBackAsTen();
    void componentByNumber_data();
    void componentByNumber();
    void referenceFromAddComponentOutlivesLaterPlacements();
    void templatesCarryNoNumber();

private:
    std::unique_ptr<shell::Designer> m_designer;
};

void tst_DesignModel::init()
{
    m_designer = std::make_unique<shell::Designer>([] { return shell::PlatformVersion{6, 1}; });
    m_designer->start();
}

void tst_DesignModel::cleanup()
{
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_DesignModel::kindWords_data()
{
    QTest::addColumn<ComponentKind>("kind");
    QTest::addColumn<QString>("kindName");
    QTest::addColumn<QString>("classWord");
    QTest::newRow("window") << ComponentKind::Window << "窗口" << "Window";
    QTest::newRow("label") << ComponentKind::Label << "标签" << "Label";
    QTest::newRow("entry") << ComponentKind::Entry << "编辑框" << "Entry";
    QTest::newRow("button") << ComponentKind::Button << "按钮" << "Button";
    QTest::newRow("radio button has a capital B") << ComponentKind::RadioButton << "单选框" << "RadioButton";
    QTest::newRow("check button has a capital B") << ComponentKind::CheckButton << "复选框" << "CheckButton";
}

void tst_DesignModel::kindWords()
{
    QFETCH(ComponentKind, kind);
    QFETCH(QString, kindName);
    QFETCH(QString, classWord);
    QCOMPARE(model::kindName(kind), kindName);
    QCOMPARE(model::classWord(kind), classWord);
}

// The substring test of kindOfEntry finds exactly one kind only if no word holds another.
void tst_DesignModel::kindWordsNeverContainEachOther()
{
    const QList<ComponentKind> kinds{ComponentKind::Window, ComponentKind::Label, ComponentKind::Entry,
                                     ComponentKind::Button, ComponentKind::RadioButton, ComponentKind::CheckButton};
    for (ComponentKind a : kinds) {
        for (ComponentKind b : kinds) {
            if (a != b)
                QVERIFY2(!model::kindName(a).contains(model::kindName(b)), qPrintable(model::kindName(a)));
        }
    }
}

void tst_DesignModel::kindOfEntry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<std::optional<ComponentKind>>("kind");
    QTest::newRow("the window") << "窗口" << std::optional(ComponentKind::Window);
    QTest::newRow("label") << "1.标签" << std::optional(ComponentKind::Label);
    QTest::newRow("entry") << "2.编辑框" << std::optional(ComponentKind::Entry);
    QTest::newRow("button, two digits") << "12.按钮" << std::optional(ComponentKind::Button);
    QTest::newRow("radio button") << "4.单选框" << std::optional(ComponentKind::RadioButton);
    QTest::newRow("check button") << "5.复选框" << std::optional(ComponentKind::CheckButton);
    QTest::newRow("tenth entry") << "10.标签" << std::optional(ComponentKind::Label);
    QTest::newRow("no selection") << "" << std::optional<ComponentKind>();
    QTest::newRow("no kind word") << "12.Button" << std::optional<ComponentKind>();
    QTest::newRow("window word wins by search order") << "3.标签窗口" << std::optional(ComponentKind::Window);
}

void tst_DesignModel::kindOfEntry()
{
    QFETCH(QString, entry);
    QFETCH(std::optional<ComponentKind>, kind);
    QCOMPARE(model::kindOfEntry(entry), kind);
}

void tst_DesignModel::numberOfEntry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("number");
    QTest::newRow("one digit") << "1.标签" << 1;
    QTest::newRow("tenth") << "10.标签" << 10;
    QTest::newRow("two digits") << "12.按钮" << 12;
    QTest::newRow("the window has none") << "窗口" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("first piece only") << "3.4.按钮" << 3;
    QTest::newRow("full-width digits fold") << "１２.按钮" << 12;
    QTest::newRow("leading blank") << " 7.标签" << 7;
    QTest::newRow("beyond 32 bits saturates") << "99999999999.标签" << std::numeric_limits<int>::max();
}

void tst_DesignModel::numberOfEntry()
{
    QFETCH(QString, entry);
    QFETCH(int, number);
    QCOMPARE(model::numberOfEntry(entry), number);
}

void tst_DesignModel::emptyDesignAfterStartUp()
{
    const model::DesignModel &design = m_designer->model;
    QCOMPARE(design.windowLeft, 100);
    QCOMPARE(design.windowTop, 100);
    QCOMPARE(design.lastNumber, 0);
    QVERIFY(design.components.empty());
    QVERIFY(!design.shownComponent);
    QCOMPARE(m_designer->layer.listCount(ComponentList), 1);
    QCOMPARE(m_designer->layer.listItemText(ComponentList, 0), QStringLiteral("窗口"));
}

void tst_DesignModel::numberingRunsAcrossKinds_data()
{
    QTest::addColumn<QList<ComponentKind>>("kinds");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("classNames");
    QTest::newRow("label, entry, label")
        << QList<ComponentKind>{ComponentKind::Label, ComponentKind::Entry, ComponentKind::Label}
        << QStringList{"1.标签", "2.编辑框", "3.标签"} << QStringList{"Label1", "Entry2", "Label3"};
    QTest::newRow("every kind in palette order")
        << QList<ComponentKind>{ComponentKind::Label, ComponentKind::Entry, ComponentKind::Button,
                                ComponentKind::RadioButton, ComponentKind::CheckButton}
        << QStringList{"1.标签", "2.编辑框", "3.按钮", "4.单选框", "5.复选框"}
        << QStringList{"Label1", "Entry2", "Button3", "RadioButton4", "CheckButton5"};
    QTest::newRow("every kind backwards")
        << QList<ComponentKind>{ComponentKind::CheckButton, ComponentKind::RadioButton, ComponentKind::Button,
                                ComponentKind::Entry, ComponentKind::Label}
        << QStringList{"1.复选框", "2.单选框", "3.按钮", "4.编辑框", "5.标签"}
        << QStringList{"CheckButton1", "RadioButton2", "Button3", "Entry4", "Label5"};
}

void tst_DesignModel::numberingRunsAcrossKinds()
{
    QFETCH(QList<ComponentKind>, kinds);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, classNames);
    for (ComponentKind kind : kinds)
        QVERIFY(!testsupport::place(*m_designer, kind).isNull());

    const model::DesignModel &design = m_designer->model;
    QCOMPARE(int(design.components.size()), kinds.size());
    for (int i = 0; i < kinds.size(); ++i) {
        QCOMPARE(design.components[i].entryText(), entries[i]);
        QCOMPARE(design.components[i].className(), classNames[i]);
        QCOMPARE(m_designer->layer.listItemText(ComponentList, i + 1), entries[i]);
    }
    // The generator walks kinds in palette order, components in placement order within a kind.
    for (ComponentKind kind : model::WidgetKinds) {
        QList<int> expected;
        for (int i = 0; i < kinds.size(); ++i) {
            if (kinds[i] == kind)
                expected.append(i + 1);
        }
        QCOMPARE(design.numbersOfKind(kind), expected);
    }
}

void tst_DesignModel::invariantsHoldAfterEveryPlacement()
{
    const model::DesignModel &design = m_designer->model;
    const widgets::WidgetLayer &layer = m_designer->layer;
    for (int placed = 1; placed <= 12; ++placed) {
        const ComponentKind kind = model::WidgetKinds[placed % model::WidgetKinds.size()];
        const widgets::ControlRef widget = testsupport::place(*m_designer, kind, placed * 3, placed * 2);
        QVERIFY(!widget.isNull());
        QCOMPARE(design.lastNumber, placed);
        QCOMPARE(int(design.components.size()), placed);
        QCOMPARE(layer.listCount(ComponentList), placed + 1);
        QCOMPARE(layer.listItemText(ComponentList, 0), QStringLiteral("窗口"));
        for (int n = 1; n <= placed; ++n) {
            const model::Component &component = design.components[n - 1];
            QCOMPARE(component.number, n);
            QCOMPARE(layer.listItemText(ComponentList, n), component.entryText());
            QCOMPARE(layer.readText(component.widget, Prop::Tag), QString::number(n));
            QCOMPARE(model::numberOfEntry(component.entryText()), n);
            QCOMPARE(model::kindOfEntry(component.entryText()), std::optional(component.kind));
        }
        QCOMPARE(design.components.back().widget, widget);
        QCOMPARE(design.components.back().kind, kind);
    }
}

void tst_DesignModel::tenthEntryReadsBackAsTen()
{
    widgets::ControlRef tenth;
    for (int i = 0; i < 10; ++i)
        tenth = testsupport::place(*m_designer, ComponentKind::Button);
    const QString entry = m_designer->layer.listItemText(ComponentList, 10);
    QCOMPARE(entry, QStringLiteral("10.按钮"));
    QCOMPARE(model::numberOfEntry(entry), 10);
    QCOMPARE(model::kindOfEntry(entry), std::optional(ComponentKind::Button));
    QCOMPARE(m_designer->model.componentByNumber(10)->widget, tenth);
    QCOMPARE(m_designer->model.componentByNumber(10)->className(), QStringLiteral("Button10"));
    // Looked up through the design window, the tag leads to the same widget, not to "1".
    QCOMPARE(m_designer->layer.findControlByTag(design::ids::DesignWindowId, 10), tenth);
    QCOMPARE(m_designer->layer.findControlByTag(design::ids::DesignWindowId, 1),
             m_designer->model.componentByNumber(1)->widget);
}

void tst_DesignModel::componentByNumber_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("found");
    // Three components are placed.
    QTest::newRow("zero") << 0 << false;
    QTest::newRow("negative") << -1 << false;
    QTest::newRow("first") << 1 << true;
    QTest::newRow("last") << 3 << true;
    QTest::newRow("one past the last") << 4 << false;
    QTest::newRow("largest integer") << std::numeric_limits<int>::max() << false;
    QTest::newRow("smallest integer") << std::numeric_limits<int>::min() << false;
}

void tst_DesignModel::componentByNumber()
{
    QFETCH(int, number);
    QFETCH(bool, found);
    for (int i = 0; i < 3; ++i)
        testsupport::place(*m_designer, ComponentKind::Label);
    const model::Component *component = m_designer->model.componentByNumber(number);
    QCOMPARE(component != nullptr, found);
    if (component)
        QCOMPARE(component->number, number);
}

// Placement keeps the reference addComponent gave while it lists the entry; nothing may move it.
void tst_DesignModel::referenceFromAddComponentOutlivesLaterPlacements()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    widgets::ControlRef widget{0, 0, widgets::ControlType::Label};
    QVERIFY(layer.cloneControl(design::ids::LabelTemplate, widget));
    const model::Component &first = m_designer->model.addComponent(layer, ComponentKind::Label, widget);
    for (int i = 0; i < 100; ++i)
        testsupport::place(*m_designer, ComponentKind::Entry);
    QCOMPARE(first.number, 1);
    QCOMPARE(first.widget, widget);
    QCOMPARE(&first, &m_designer->model.components.front());
}

void tst_DesignModel::templatesCarryNoNumber()
{
    testsupport::place(*m_designer, ComponentKind::Label);
    for (const widgets::ControlRef &source : {design::ids::LabelTemplate, design::ids::EntryTemplate,
                                              design::ids::ButtonTemplate, design::ids::RadioButtonTemplate,
                                              design::ids::CheckButtonTemplate})
        QCOMPARE(m_designer->layer.readText(source, Prop::Tag), QString());
}

QTEST_MAIN(tst_DesignModel)
#include "tst_designmodel.moc"
