// Generating the program for designs of 100, 1,000 and 10,000 widgets, the five kinds in turn; the
// cost should grow in step with the design.
// Run offscreen: QT_QPA_PLATFORM=offscreen build/bench/bench_generate
#include "codegen/tkintergenerator.h"
#include "design/designwindowids.h"
#include "model/propertydisplay.h"
#include "shell/designer.h"

#include <QtTest>

class bench_Generate : public QObject
{
    Q_OBJECT

private slots:
    void generateLargeDesign_data()
    {
        QTest::addColumn<int>("components");
        QTest::newRow("100") << 100;
        QTest::newRow("1000") << 1000;
        QTest::newRow("10000") << 10000;
    }

    void generateLargeDesign()
    {
        QFETCH(int, components);
        shell::Designer designer([] { return shell::PlatformVersion{6, 1}; });
        designer.start();
        const std::pair<model::ComponentKind, widgets::ControlRef> kinds[] = {
            {model::ComponentKind::Label, design::ids::LabelTemplate},
            {model::ComponentKind::Entry, design::ids::EntryTemplate},
            {model::ComponentKind::Button, design::ids::ButtonTemplate},
            {model::ComponentKind::RadioButton, design::ids::RadioButtonTemplate},
            {model::ComponentKind::CheckButton, design::ids::CheckButtonTemplate}};
        for (int i = 0; i < components / 5; ++i) {
            for (const auto &[kind, source] : kinds) {
                widgets::ControlRef widget{0, 0, source.type};
                QVERIFY(designer.layer.cloneControl(source, widget));
                const model::Component &component = designer.model.addComponent(designer.layer, kind, widget);
                designer.layer.moveControl(widget, i, i);
                model::addListEntry(designer, component.entryText());
            }
        }
        QString text;
        QBENCHMARK {
            text = codegen::generate(designer.model, designer.layer);
        }
        QVERIFY(text.size() > components * 60);
    }
};

QTEST_MAIN(bench_Generate)
#include "bench_generate.moc"
