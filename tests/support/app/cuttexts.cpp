// The room each kind of widget gives its text, from the style, against the text's advance.
#include "support/app/cuttexts.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTextDocument>

namespace
{

// The widest line of `text` (without its mnemonic marks) in `font`.
int advance(const QFont& font, QString text)
{
    text.remove(QRegularExpression("&(?!&)"));
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& line : text.split('\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

QString described(const QWidget* widget, const QString& text, int needed, int room)
{
    return QString("%1 %2: \"%3\" needs %4 px, has %5")
        .arg(QLatin1String(widget->metaObject()->className()), widget->objectName(), text)
        .arg(needed)
        .arg(room);
}

// The room of a button's text: its contents rectangle less the icon.
int button_room(QAbstractButton* button)
{
    QStyle* style = button->style();
    int room = 0;
    if (auto* push = qobject_cast<QPushButton*>(button)) {
        QStyleOptionButton option;
        option.initFrom(push);
        option.rect = push->rect();
        room = style->subElementRect(QStyle::SE_PushButtonContents, &option, push).width();
    } else {
        QStyleOptionButton option;
        option.initFrom(button);
        option.rect = button->rect();
        const bool check = qobject_cast<QCheckBox*>(button) != nullptr;
        room =
            style->subElementRect(check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, button)
                .width();
    }
    if (!button->icon().isNull())
        room -= button->iconSize().width() + 4;
    return room;
}

void check_header(QHeaderView* header, QStringList* cut)
{
    if (!header || !header->isVisible() || header->orientation() != Qt::Horizontal || !header->model())
        return;
    const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section) || header->sectionSize(section) == 0)
            continue;
        const QString text = header->model()->headerData(section, Qt::Horizontal).toString();
        const int needed = advance(header->font(), text) + margin;
        if (!text.isEmpty() && needed > header->sectionSize(section))
            *cut << described(header, QString("column %1 \"%2\"").arg(section).arg(text), needed,
                              header->sectionSize(section));
    }
}

void check_widget(QWidget* widget, QStringList* cut)
{
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        const bool rich = label->textFormat() == Qt::RichText ||
                          (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
        if (label->wordWrap() || rich || label->text().isEmpty())
            return;
        const int needed = advance(label->font(), label->text()) + 2 * label->margin();
        if (needed > label->contentsRect().width())
            *cut << described(label, label->text(), needed, label->contentsRect().width());
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (button->text().isEmpty() || !(qobject_cast<QPushButton*>(button) || qobject_cast<QCheckBox*>(button) ||
                                          qobject_cast<QRadioButton*>(button)))
            return;
        const int needed = advance(button->font(), button->text());
        if (needed > button_room(button))
            *cut << described(button, button->text(), needed, button_room(button));
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.rect = box->rect();
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxLabel;
        const int frame = 2 * box->style()->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, box);
        const int needed = advance(box->font(), box->title()) + frame;
        if (!box->title().isEmpty() && needed > box->width())
            *cut << described(box, box->title(), needed, box->width());
    } else if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
        for (QHeaderView* header : view->findChildren<QHeaderView*>())
            check_header(header, cut);
    }
}

void check_menu(QMenu* menu, int width, const QString& path, QStringList* cut)
{
    menu->ensurePolished();
    if (menu->sizeHint().width() > width)
        *cut << QString("menu %1 is %2 px wide, the screen %3").arg(path).arg(menu->sizeHint().width()).arg(width);
    for (QAction* action : menu->actions()) {
        if (action->menu())
            check_menu(action->menu(), width, path + " > " + action->text(), cut);
    }
}

} // namespace

QStringList cut_texts(QWidget* root)
{
    QStringList cut;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        if (widget->isVisible() && !qobject_cast<QMenu*>(widget->window()))
            check_widget(widget, &cut);
    }
    return cut;
}

QStringList cut_menus(QMenuBar* bar, int width)
{
    QStringList cut;
    for (QAction* action : bar->actions()) {
        if (!action->isVisible())
            continue;
        const QRect place = bar->actionGeometry(action);
        // A menu that does not fit goes behind the bar's extension button.
        if (place.isEmpty() || place.right() >= bar->width())
            cut << QString("menu %1 does not fit on the menu bar (%2 px wide)").arg(action->text()).arg(bar->width());
        if (action->menu())
            check_menu(action->menu(), width, action->text(), &cut);
    }
    return cut;
}
