// The find bar's widgets and keys.
#include "table/findbar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

FindBar::FindBar(QWidget* parent)
    : QWidget(parent), caption_(new QLabel(this)), edit_(new QLineEdit(this)), previous_(new QToolButton(this)),
      next_(new QToolButton(this)), close_(new QToolButton(this))
{
    setObjectName("findBar");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption_);
    layout->addWidget(edit_, 1);
    layout->addWidget(previous_);
    layout->addWidget(next_);
    layout->addWidget(close_);
    edit_->setClearButtonEnabled(true);
    edit_->setMaximumWidth(320);
    close_->setText(QStringLiteral("\u00d7"));
    close_->setAutoRaise(true);
    connect(previous_, &QToolButton::clicked, this, [this] { emit find_requested(false); });
    connect(next_, &QToolButton::clicked, this, [this] { emit find_requested(true); });
    connect(close_, &QToolButton::clicked, this, &QWidget::hide);
}

void FindBar::set_texts(const QStringList& texts)
{
    caption_->setText(texts.value(Caption));
    edit_->setPlaceholderText(texts.value(Placeholder));
    previous_->setText(texts.value(Previous));
    next_->setText(texts.value(Next));
    close_->setToolTip(texts.value(Close));
}

void FindBar::open()
{
    show();
    edit_->setFocus(Qt::ShortcutFocusReason);
    edit_->selectAll();
}

QString FindBar::text() const
{
    return edit_->text();
}

void FindBar::keyPressEvent(QKeyEvent* event)
{
    // The line edit passes Enter, F3 and Escape on to the bar.
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit find_requested(!shift);
    } else if (event->key() == Qt::Key_F3) {
        emit find_requested(!shift);
    } else if (event->key() == Qt::Key_Escape) {
        hide();
    } else {
        QWidget::keyPressEvent(event);
    }
}
