// The archive window: the start-up window and a browser for one zip archive at a time. It lists
// the selected archive's entries, opens or creates an archive, starts the delete, extract and
// properties dialogs, opens entries with the desktop's programs, and shows the zip component's
// progress. The component itself belongs to the program, so the window can be put away (File >
// Exit) while the compress step still uses the component.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>

#include "archive/view_folder.h"
#include "ui/ui.h"

class QAction;
class QLabel;
class QMenu;
class QTreeView;

namespace vx {

class ArchiveListModel;
class Arkovo;
class frmProgress;

class frmArchive : public QMainWindow {
    Q_OBJECT
public:
    // arkovo outlives the window; the window follows its events from here on.
    frmArchive(Ui& ui, Arkovo& arkovo, QWidget* parent = nullptr);
    ~frmArchive() override;

    QTreeView* lvwArchive;  // shows an ArchiveListModel (archive_list.h)
    QLabel* lblFiles;
    QLabel* lblQuorbit;
    QLabel* lblWeb;    // click: opens the web page in the label's "address" property
    QLabel* lblEmail;  // click: opens the mailto: address in its "address" property

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
    QAction* mnuSettings;  // opens the settings window

    // The start-up sequence run by Form_Load; what "Log Window" shows; how Add brings the file
    // selection window forward; where the component's per-entry reports go (the log).
    void setLoadStep(std::function<void()> step) { m_loadStep = std::move(step); }
    void setShowLog(std::function<void()> show) { m_showLog = std::move(show); }
    void setShowAdd(std::function<void()> show) { m_showAdd = std::move(show); }
    void setShowSettings(std::function<void()> show) { m_showSettings = std::move(show); }
    void setReport(std::function<void(const QString&)> report) { m_report = std::move(report); }

    // The progress window while the component works; null when none is shown.
    frmProgress* progressWindow() const;

    void Form_Load();
    void mnuOpen_Click();
    void mnuExit_Click();
    void mnuAdd_Click();
    void mnuDelete_Click();
    void mnuExtract_Click();
    void mnuView_Click();
    void mnuSelectAll_Click();
    void mnuInvert_Click();
    void mnuPopupProperties_Click();
    void mnuShowLog_Click();
    void mnuSettings_Click();
    void lvwArchive_ColumnClick(int column);
    // A mouse button released at pos (list viewport coordinates); the right one opens the popup.
    void lvwArchive_MouseUp(Qt::MouseButton button, const QPoint& pos);
    void lblWeb_Click();
    void lblEmail_Click();

    // The component's events. Progress events show the progress window with the action's text
    // and let pending events run so the windows repaint; complete events unload it.
    void Arkovo_ArchiveChanged();
    void Arkovo_AddProgress(int percent, const QString& fileName);
    void Arkovo_ExtractProgress(int percent, const QString& fileName);
    void Arkovo_DeleteProgress(int percent, const QString& fileName);
    void Arkovo_Complete();
    void Arkovo_ArchiveError(const QString& message);
    void Arkovo_EntryReport(const QString& message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void wire();
    void showProgress(const QString& text, int percent);
    bool archiveSelected() const;

    Ui& m_ui;
    Arkovo& m_arkovo;
    ArchiveListModel* m_rows;
    ViewFolder m_viewFolder;
    QPointer<frmProgress> m_progress;
    std::function<void()> m_loadStep;
    std::function<void()> m_showLog;
    std::function<void()> m_showAdd;
    std::function<void()> m_showSettings;
    std::function<void(const QString&)> m_report;
    quint64 m_fill = 0;  // counts list fills; a fill that sees another begin stops
};

}  // namespace vx
