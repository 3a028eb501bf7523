#include "shell/designer.h"

#include "design/designwindow.h"
#include "shell/mainwindowids.h"
#include "shell/mainwindowtable.h"

namespace shell {

Designer::Designer(PlatformVersionSource platformVersion) : platformVersion(std::move(platformVersion))
{
}

void Designer::start()
{
    layer.registerWindow(mainWindowTable(*this));
    layer.registerWindow(design::designWindowTable(*this));
    layer.loadWindow(ids::MainWindowId);
}

} // namespace shell
