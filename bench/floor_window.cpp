// The floor for start-up time and memory: the smallest Qt Widgets program that shows a window of the
// designer's size, built and measured beside it. With FLOOR_CHINESE_LABEL it also shows one label of
// Chinese text, which costs the CJK font look-up that every Chinese interface pays.
#include <QApplication>
#include <QWidget>
#ifdef FLOOR_CHINESE_LABEL
#include <QLabel>
#endif

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("floor"));
    window.resize(800, 548);
#ifdef FLOOR_CHINESE_LABEL
    QLabel label(QStringLiteral("窗口组件 初始化完毕"), &window);
    label.move(8, 8);
#endif
    window.show();
    return app.exec();
}
