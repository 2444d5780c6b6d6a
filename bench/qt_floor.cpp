// The floor Qt sets for start-up: a bare window with the calculator's
// controls (seven line edits, two combo boxes, two buttons, two labels),
// no pictures, fonts or styling. run-benchmarks starts it beside the
// calculator and xcalc.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv)
{
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setGeometry(444, 196, 196, 317);
    for (int i = 0; i < 7; ++i)
        (new QLineEdit(&window))->setGeometry(138, 38 + 22 * i, 48, 22);
    for (int i = 0; i < 2; ++i) {
        auto* combo = new QComboBox(&window);
        combo->setEditable(true);
        combo->addItems({QStringLiteral("12"), QStringLiteral("16"), QStringLiteral("24")});
        combo->setGeometry(10, 6 + 217 * i, 176, 24);
    }
    for (int i = 0; i < 2; ++i)
        (new QPushButton(QStringLiteral("OK"), &window))->setGeometry(14 + 90 * i, 288, 78, 19);
    (new QLabel(QStringLiteral("/"), &window))->setGeometry(149, 196, 4, 16);
    (new QLabel(QStringLiteral("122.05"), &window))->setGeometry(10, 255, 176, 24);
    window.show();
    return application.exec();
}
