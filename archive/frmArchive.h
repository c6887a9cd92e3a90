// The archive window: the start-up window and a browser for one zip archive at a time. Its load
// step is the program's start-up sequence, handed in by the program.
#pragma once

#include <QMainWindow>
#include <functional>

#include "ui/ui.h"

class QAction;
class QLabel;
class QMenu;
class QTreeWidget;

namespace vx {

class frmArchive : public QMainWindow {
    Q_OBJECT
public:
    explicit frmArchive(Ui& ui, QWidget* parent = nullptr);

    QTreeWidget* lvwArchive;
    QLabel* lblFiles;
    QLabel* lblQuorbit;
    QLabel* lblWeb;
    QLabel* lblEmail;

    QMenu* mnuFile;
    QAction* mnuOpen;
    QAction* mnuExit;
    QMenu* mnuActionS;
    QAction* mnuAdd;
    QAction* mnuDelete;
    QAction* mnuExtract;
    QAction* mnuView;
    QAction* mnuSelectAll;
    QAction* mnuInvert;
    QMenu* mnuPopup;
    QAction* mnuPopupExtract;
    QAction* mnuPopupDelete;
    QAction* mnuPopupView;
    QAction* mnuPopupSelectAll;
    QAction* mnuPopupInvert;
    QAction* mnuPopupProperties;
    QMenu* mnuWindow;
    QAction* mnuShowLog;  // brings the log window up

    // The start-up sequence run by Form_Load, and what "Log Window" shows.
    void setLoadStep(std::function<void()> step) { m_loadStep = std::move(step); }
    void setShowLog(std::function<void()> show) { m_showLog = std::move(show); }

    void Form_Load();
    void mnuExit_Click();
    void mnuShowLog_Click();

private:
    void buildMenus();

    Ui& m_ui;
    std::function<void()> m_loadStep;
    std::function<void()> m_showLog;
};

}  // namespace vx
