#include "about/aboutapp.h"
#include "main/appidentity.h"
#include "main/mainwindow.h"
#include "main/qtprompter.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(appidentity::title));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(appidentity::versionMajor)
                                            .arg(appidentity::versionMinor)
                                            .arg(appidentity::versionRevision));

    QtPrompter prompter;
    QtLifetime lifetime;
    AboutServices aboutServices = AboutServices::system(prompter);
    MainWindow window({systemFileSystem(), prompter, lifetime, [&](QWidget* mainWindow) {
                           AboutApp::show(mainWindow, aboutServices);
                       }});
    window.Form_Load();
    if (lifetime.ended())
        return 0;
    window.show();
    return QApplication::exec();
}
