// The points' coordinate system: the command and its dialog, the choice kept in config.xml and shown
// in the status bar, and the longitude and latitude of the plan's cursor while a system is chosen.
#include "config/settingwriter.h"
#include "crs/crstransform.h"
#include "dialogs/crsdialog.h"
#include "plan/planview.h"
#include "window/mainwindow.h"

#include <QEvent>
#include <QLabel>
#include <QStatusBar>

namespace
{

// The entries of the UI-text list "CoordinateSystemMsg".
enum CrsText { kSystemText, kNoSystemText, kPositionText, kNotSavedText };
constexpr int kRecentSystems = 8;

// Clears the cursor's place when the mouse leaves the plan.
class LeaveWatcher : public QObject
{
public:
    LeaveWatcher(QLabel* label, QObject* parent) : QObject(parent), label_(label) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Leave)
            label_->clear();
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel* label_;
};

QString degrees(double value)
{
    return QString::number(value, 'f', 7) + QChar(0x00B0);
}

} // namespace

void MainWindow::program_coordinatesystem()
{
    CrsDialog dialog(this);
    dialog.dlgicon_path = icon_path + "/logo.png";
    dialog.current = coordinate_system;
    dialog.recent = recent_coordinate_systems;
    dialog.crsdlg_ini(get_parametretitle("CoordinateSystemDlg"));
    dialog.exec();
    if (!dialog.result_flag || dialog.chosen == coordinate_system)
        return;
    coordinate_system = dialog.chosen;
    if (!coordinate_system.isEmpty()) {
        recent_coordinate_systems.removeAll(coordinate_system);
        recent_coordinate_systems.prepend(coordinate_system);
        recent_coordinate_systems = recent_coordinate_systems.mid(0, kRecentSystems);
    }
    QString error;
    if (!replace_setting(settings_file(), "crs", coordinate_system, &error) ||
        !replace_setting(settings_file(), "recentcrs", recent_coordinate_systems.join('\n'), &error))
        show_statemsg(get_parametretitle("CoordinateSystemMsg").value(kNotSavedText).arg(settings_file(), error),
                      Status::Message);
    show_coordinate_system();
}

void MainWindow::show_coordinate_system()
{
    if (!coordinate_system_label) {
        coordinate_system_label = new QLabel(this);
        coordinate_system_label->setObjectName("coordinateSystemLabel");
        cursor_position_label = new QLabel(this);
        cursor_position_label->setObjectName("cursorPositionLabel");
        statusBar()->addPermanentWidget(cursor_position_label);
        statusBar()->addPermanentWidget(coordinate_system_label);
        if (plan_view) {
            plan_view->setMouseTracking(true);
            plan_view->installEventFilter(new LeaveWatcher(cursor_position_label, plan_view));
            connect(plan_view, &PlanView::cursor_moved, this, &MainWindow::show_cursor_position);
        }
    }
    const QStringList texts = get_parametretitle("CoordinateSystemMsg");
    to_geographic.reset();
    cursor_position_label->clear();
    if (coordinate_system.isEmpty()) {
        coordinate_system_label->setText(texts.value(kNoSystemText));
        return;
    }
    const CrsInfo info = describe_crs(coordinate_system);
    coordinate_system_label->setText(texts.value(kSystemText).arg(coordinate_system, info.name));
    coordinate_system_label->setToolTip(info.area);
    to_geographic = std::make_unique<CrsTransform>();
    if (!to_geographic->open(coordinate_system, kWgs84))
        to_geographic.reset();
}

void MainWindow::show_cursor_position(const QPointF& world)
{
    double longitude = world.x();
    double latitude = world.y();
    if (!to_geographic || !to_geographic->forward(&longitude, &latitude)) {
        cursor_position_label->clear();
        return;
    }
    cursor_position_label->setText(
        get_parametretitle("CoordinateSystemMsg").value(kPositionText).arg(degrees(longitude), degrees(latitude)));
}
