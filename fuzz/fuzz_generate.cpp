// generate over designs decoded from the fuzzer's bytes: kinds, positions, sizes, captions, title,
// faces and font sizes. The program has exactly the design's lines, and every literal reads back
// as the text that went in.
//
// With KESTRIGAN_FUZZ_PROGRAMS set to a folder, each program is also written there (n.py) with the
// texts its literals must hold (n.json), so that Python itself can read them back (ast_replay.py).

#include "fuzzapplication.h"
#include "fuzzinput.h"

#include "codegen/tkintergenerator.h"
#include "design/designwindowids.h"
#include "model/propertyrows.h"
#include "shell/designer.h"
#include "support/placing.h"
#include "support/programcheck.h"
#include "widgets/textconversion.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

using model::ComponentKind;
using widgets::FontMember;
using widgets::Prop;

// Kept to the end of the process, as the application is (fuzzapplication.h).
shell::Designer *designer = nullptr;

// Components are never removed, so a long run starts a fresh designer now and then.
constexpr size_t MostComponents = 40;

void startDesigner()
{
    delete designer;
    designer = new shell::Designer([] { return shell::PlatformVersion{6, 1}; });
    designer->start();
}

int coordinate(fuzzing::FuzzInput &input)
{
    // Mostly ordinary values, now and then anything at all (the layer clamps).
    return input.byte() & 1 ? input.integer() : input.choice(600) - 100;
}

void writeProgramFiles(const QString &program)
{
    static const QString folder = qEnvironmentVariable("KESTRIGAN_FUZZ_PROGRAMS");
    if (folder.isEmpty())
        return;
    static int count = 0;
    const QString stem = QDir(folder).filePath(QString::number(++count));
    QJsonArray literals;
    for (const testsupport::ExpectedLine &line : testsupport::expectedProgram(designer->model, designer->layer))
        for (const QString &text : line.literals)
            literals.append(testsupport::programText(text));
    QFile py(stem + ".py");
    QFile json(stem + ".json");
    if (!py.open(QIODevice::WriteOnly) || !json.open(QIODevice::WriteOnly))
        qFatal("cannot write into %s", qPrintable(folder));
    py.write(program.toUtf8());
    json.write(QJsonDocument(literals).toJson());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzing::application();
    startDesigner();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzing::FuzzInput input(data, size);
    if (designer->model.components.size() > MostComponents)
        startDesigner();
    widgets::WidgetLayer &layer = designer->layer;
    const widgets::ControlRef window = design::ids::DesignWindow;

    const int placed = input.choice(4);
    for (int i = 0; i < placed; ++i)
        testsupport::place(*designer, model::WidgetKinds[input.choice(int(model::WidgetKinds.size()))]);

    if (input.byte() & 1)
        layer.writeProperty(window, Prop::WindowTitle, input.text());
    if (input.byte() & 1) {
        layer.writeProperty(window, Prop::Width, coordinate(input));
        layer.writeProperty(window, Prop::Height, coordinate(input));
    }
    designer->model.windowLeft = qBound(-widgets::PositionLimit, coordinate(input), widgets::PositionLimit);
    designer->model.windowTop = qBound(-widgets::PositionLimit, coordinate(input), widgets::PositionLimit);

    // Changes to some of the components, the newest first so that short inputs reach them.
    const int count = int(designer->model.components.size());
    const int changed = count ? input.choice(count + 1) : 0;
    for (int i = 0; i < changed && !input.empty(); ++i) {
        const model::Component &c = designer->model.components[size_t(count - 1 - i)];
        layer.writeProperty(c.widget, Prop::Left, coordinate(input));
        layer.writeProperty(c.widget, Prop::Top, coordinate(input));
        layer.writeProperty(c.widget, Prop::Width, coordinate(input));
        layer.writeProperty(c.widget, Prop::Height, coordinate(input));
        if (const auto caption = model::captionProperty(c.kind))
            layer.writeProperty(c.widget, *caption, input.text());
        const Prop font = *model::fontProperty(c.kind);
        layer.writeProperty(c.widget, font, input.text(40), int(FontMember::Face));
        layer.writeProperty(c.widget, font, input.byte() & 1 ? input.integer() : input.choice(80), int(FontMember::Size));
    }

    const QString program = codegen::generate(designer->model, layer);
    const QString fault = testsupport::checkProgram(program, designer->model, layer);
    if (!fault.isEmpty())
        qFatal("generated program is not the design's: %s", qPrintable(fault.toHtmlEscaped()));
    writeProgramFiles(program);
    return 0;
}
