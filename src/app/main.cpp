#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Kardeon - "));
    window.resize(567, 554);
    window.show();
    return app.exec();
}
