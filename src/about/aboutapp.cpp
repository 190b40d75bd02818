#include "about/aboutapp.h"

#include "main/appidentity.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

AboutServices AboutServices::system(Prompter& prompter)
{
    return {prompter};
}

AboutApp::AboutApp(QWidget* mainWindow, AboutServices& services)
    : QWidget(nullptr, Qt::Dialog), m_mainWindow(mainWindow), m_services(services)
{
    setObjectName(QStringLiteral("aboutApp"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_lblTitle = new QLabel(this);
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    connect(m_cmdOK, &QPushButton::clicked, this, &AboutApp::cmdOK_Click);
    Form_Load();
}

AboutApp::~AboutApp()
{
    Form_Unload();
}

AboutApp* AboutApp::show(QWidget* mainWindow, AboutServices& services)
{
    auto* box = new AboutApp(mainWindow, services);
    box->QWidget::show();
    box->m_cmdOK->setFocus();
    return box;
}

void AboutApp::Form_Load()
{
    setWindowTitle(QStringLiteral("About %1").arg(QLatin1String(appidentity::title)));
}

void AboutApp::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (m_mainWindow)
        m_mainWindow->setEnabled(true);
}

void AboutApp::cmdOK_Click()
{
    close();
}

void AboutApp::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void AboutApp::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        m_cmdOK->click();
        return;
    }
    QWidget::keyPressEvent(event);
}
