// The report's options before it is printed or written: the plan's scale (fit to the page, or 1:200
// to 1:5000) and a free text for the title page. Texts from "ReportTexts"; results as members.
#ifndef REPORTOPTIONSDIALOG_H
#define REPORTOPTIONSDIALOG_H

#include <QDialog>
#include <QStringList>

class QComboBox;
class QPlainTextEdit;

class ReportOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    // The scales offered; 0 is fit to the page.
    static const int kScales[];

    ReportOptionsDialog(const QStringList& texts, int scale, const QString& note, QWidget* parent = nullptr);
    int scale() const;
    QString note() const;

private:
    QComboBox* scale_box_;
    QPlainTextEdit* note_edit_;
};

#endif // REPORTOPTIONSDIALOG_H
