// Renkari: builds the application object and hands over to the shell.
#include "app/shell/app.h"
#include "app/shell/startup.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    App app;
    initialiseApp(app, QDir::currentPath());
    return runRenkari(app);
}
