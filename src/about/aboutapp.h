#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;
class Prompter;

// What the About box needs from outside.
struct AboutServices {
    Prompter& prompter;

    static AboutServices system(Prompter& prompter);
};

// The About box (objectName "aboutApp"): modeless, but the main window stays disabled while it
// is open; it enables the main window again when it unloads, whichever way it is closed.
class AboutApp final : public QWidget {
    Q_OBJECT
public:
    AboutApp(QWidget* mainWindow, AboutServices& services);
    ~AboutApp() override;

    // Creates, loads and shows a new box that deletes itself when closed.
    static AboutApp* show(QWidget* mainWindow, AboutServices& services);

    QLabel* lblTitle() const { return m_lblTitle; }
    QPushButton* cmdOK() const { return m_cmdOK; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void cmdOK_Click();

    QWidget* m_mainWindow;
    AboutServices& m_services;
    bool m_unloaded = false;
    QLabel* m_lblTitle = nullptr;
    QPushButton* m_cmdOK = nullptr;
};
