#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

// The About window: program name, version, the maker's link and notice.
// Modeless and without owner; it unloads itself when closed.
class frmAbout : public QDialog {
public:
    static constexpr int ClientWidth = 275;
    static constexpr int ClientHeight = 201;
    static const QString WebAddress;
    static const QString Notice;

    frmAbout();

    // Centres the window on its screen, as each load does.
    void CenterOnScreen();

    QLabel* lblTitle = nullptr;
    QLabel* imgsei = nullptr;
    QLabel* lblProduct = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblLink = nullptr;
    QPushButton* cmdOK = nullptr;
    QLabel* lblNotice = nullptr;

    void cmdOK_Click();
    void lblLink_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
