// Renkari: picks the working folder, builds the application object and hands over to the shell.
#include "app/shell/startup.h"
#include "app/state/app.h"
#include "core/shell/workdir.h"
#include "ui/fontconfiguration.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    // First of all, so that it is done by the time the window measures its captions.
    ui::FontConfigurationLoad fontConfiguration = ui::FontConfigurationLoad::start();
    QApplication application(argc, argv);
    // An installed program finds its data beside its bin folder, wherever it was installed to.
    const QString installedData = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                                  QStringLiteral("/../share/renkari"));
    const QString workDir =
        chooseWorkingDirectory(QDir::currentPath(), installedData, QDir::homePath(),
                               qEnvironmentVariable("XDG_DATA_HOME"));
    App app;
    app.resources.fontConfiguration = std::move(fontConfiguration);
    initialiseApp(app, workDir);
    // Lets the install test and the start-up benchmark start the program and see it end on its
    // own; users never set it.
    const bool quitAfterStart =
        qEnvironmentVariable("RENKARI_QUIT_AFTER_START") == QStringLiteral("1");
    return runRenkari(app, quitAfterStart);
}
