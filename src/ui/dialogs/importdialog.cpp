// The import dialog: choices, the file as it is read, the rows as they will land, and the summary.
#include "dialogs/importdialog.h"

#include "config/countedtext.h"
#include "data/decimalmark.h"
#include "data/pointfields.h"
#include "data/textfile.h"
#include "uilog.h"

#include "ui_importdialog.h"

#include <QHeaderView>
#include <QIcon>
#include <QRegularExpression>
#include <QTableWidget>
#include <algorithm>

namespace
{

constexpr int kFileRowsShown = 12; // rows of the file shown at least
constexpr int kDataRowsShown = 10; // data rows shown below the skipped lines and the header
constexpr int kColumnSampleLength = 24;

// The encodings offered; GBK also reads GB18030's four-byte sequences.
const TextEncoding kEncodings[] = {TextEncoding::Utf8, TextEncoding::Gbk, TextEncoding::Utf16Le, TextEncoding::Utf16Be};

// The encoding offered for what the reader found: text without a byte above 0x7F reads alike in all.
TextEncoding offered_encoding(TextEncoding found)
{
    if (found == TextEncoding::Ascii || found == TextEncoding::Gb18030 || found == TextEncoding::CodePage)
        return TextEncoding::Gbk;
    return found;
}

void set_cell(QTableWidget* table, int row, int column, const QString& text, bool dim, bool bold)
{
    auto* item = new QTableWidgetItem(text);
    if (dim)
        item->setForeground(QColor(140, 140, 140));
    if (bold) {
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
    }
    table->setItem(row, column, item);
}

} // namespace

ImportDialog::ImportDialog(QWidget* parent) : QDialog(parent), ui(new Ui::ImportDialog)
{
    ui->setupUi(this);
    // What was detected may wrap: the file row's choices keep the dialog within a 1024-pixel screen.
    ui->labelDetected->setWordWrap(true);
    for (QTableWidget* table : {ui->tableFile, ui->tableRows})
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    connect(ui->comboEncoding, qOverload<int>(&QComboBox::currentIndexChanged), this, &ImportDialog::encoding_changed);
    connect(ui->comboDelimiter, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ImportDialog::delimiter_changed);
    connect(ui->comboDecimal, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
        if (updating_)
            return;
        take_controls();
        show_preview();
    });
    connect(ui->spinSkip, qOverload<int>(&QSpinBox::valueChanged), this, [this] { rows_changed(false); });
    connect(ui->checkHeader, &QCheckBox::toggled, this, [this] { rows_changed(true); });
    for (int role = 0; role < kPointRoleCount; ++role) {
        connect(column_combo(role), qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
            if (updating_)
                return;
            take_controls();
            show_preview();
        });
    }
}

ImportDialog::~ImportDialog() = default;

QComboBox* ImportDialog::column_combo(int role) const
{
    QComboBox* const combos[kPointRoleCount] = {ui->comboName, ui->comboCode, ui->comboNorth, ui->comboEast,
                                                ui->comboHeight};
    return combos[role];
}

QString ImportDialog::counted(int index, qint64 count) const
{
    return counted_text(texts_, index, count);
}

bool ImportDialog::set_text_file(const QString& path)
{
    text_file_ = true;
    source_ = path;
    return read_file(false, TextEncoding::Ascii);
}

bool ImportDialog::read_file(bool forced, TextEncoding encoding)
{
    TextFileReader reader;
    if (!reader.open(source_)) {
        error = reader.error();
        return false;
    }
    if (forced)
        reader.set_encoding(encoding);
    QStringList lines;
    QString line;
    while (reader.read_line(&line))
        lines << line;
    if (reader.failed()) {
        error = reader.error();
        return false;
    }
    lines_ = lines;
    undecodable_ = reader.undecodable_bytes();
    encoding_ = reader.encoding();
    if (!forced)
        detected_ = reader.encoding_name();
    qCDebug(lcUi) << lines_.size() << "lines read from" << source_ << "as" << reader.encoding_name();
    return true;
}

void ImportDialog::set_rows(const TextRows& rows, const QString& source)
{
    text_file_ = false;
    rows_ = rows;
    source_ = source;
}

bool ImportDialog::importdlg_ini(const QStringList& texts, const QStringList& decimal_texts)
{
    if (texts.size() < TextCount || decimal_texts.size() < DecimalTextCount)
        return false;
    texts_ = texts;
    decimal_texts_ = decimal_texts;
    ui->labelDecimal->setText(decimal_texts.value(DecimalLabel));
    setWindowTitle(text(Title));
    setWindowIcon(QIcon(dlgicon_path));
    ui->labelEncoding->setText(text(EncodingLabel));
    ui->labelDelimiter->setText(text(DelimiterLabel));
    ui->labelSkip->setText(text(SkipLabel));
    ui->checkHeader->setText(text(HeaderCheck));
    QLabel* const labels[kPointRoleCount] = {ui->labelName, ui->labelCode, ui->labelNorth, ui->labelEast,
                                             ui->labelHeight};
    QStringList headings;
    for (int role = 0; role < kPointRoleCount; ++role) {
        labels[role]->setText(text(NameLabel + role));
        headings << text(NameHeading + role);
    }
    ui->pushButtonOk->setText(text(OkButton));
    ui->pushButtonCancel->setText(text(CancelButton));
    ui->labelFilePreview->setText(text(FileCaption));
    ui->labelRowsPreview->setText(text(RowsCaption));
    ui->tableRows->setColumnCount(kPointRoleCount);
    ui->tableRows->setHorizontalHeaderLabels(headings);
    ui->labelSource->setText(source_);

    updating_ = true;
    ui->comboDelimiter->clear();
    for (int i = 0; i < kDelimiterCount; ++i)
        ui->comboDelimiter->addItem(text(CommaChoice + i), i);
    ui->comboDecimal->clear();
    for (int i = 0; i < 2; ++i)
        ui->comboDecimal->addItem(decimal_texts.value(PointMark + i), i);
    ui->comboEncoding->clear();
    for (TextEncoding encoding : kEncodings)
        ui->comboEncoding->addItem(text_encoding_name(encoding), int(encoding));
    updating_ = false;
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui->labelEncoding, ui->comboEncoding, ui->labelDetected, ui->labelDelimiter,
                                         ui->comboDelimiter, ui->labelDecimal, ui->comboDecimal})
        w->setVisible(text_file_);
    if (text_file_) {
        ui->labelDetected->setText(text(DetectedText).arg(detected_));
        choice = starting_choice(lines_, has_last_choice ? &choice : nullptr);
        rows_ = split_delimited_lines(lines_, choice.delimiter);
    } else {
        choice.mapping = starting_mapping(rows_, has_last_choice ? &choice.mapping : nullptr);
        choice.decimal_mark = DecimalMark::Point; // a workbook's numbers are numbers
    }
    show_choice();
    return true;
}

void ImportDialog::show_choice()
{
    updating_ = true;
    ui->comboEncoding->setCurrentIndex(ui->comboEncoding->findData(int(offered_encoding(encoding_))));
    ui->comboDelimiter->setCurrentIndex(int(choice.delimiter));
    // Fields delimited by commas hold no decimal comma: "1,234" there is never read as 1.234.
    ui->comboDecimal->setCurrentIndex(int(choice.decimal_mark));
    ui->comboDecimal->setEnabled(choice.delimiter != Delimiter::Comma);
    ui->spinSkip->setValue(choice.mapping.skip_rows);
    ui->checkHeader->setChecked(choice.mapping.header);
    updating_ = false;
    fill_column_combos();
    show_preview();
}

void ImportDialog::take_controls()
{
    choice.delimiter = Delimiter(qMax(0, ui->comboDelimiter->currentIndex()));
    const bool comma = text_file_ && choice.delimiter != Delimiter::Comma && ui->comboDecimal->currentIndex() == 1;
    choice.decimal_mark = comma ? DecimalMark::Comma : DecimalMark::Point;
    choice.mapping.skip_rows = ui->spinSkip->value();
    choice.mapping.header = ui->checkHeader->isChecked();
    for (int role = 0; role < kPointRoleCount; ++role)
        choice.mapping.columns[role] = column_combo(role)->currentData().toInt();
}

void ImportDialog::encoding_changed()
{
    if (updating_)
        return;
    const auto chosen = TextEncoding(ui->comboEncoding->currentData().toInt());
    if (!read_file(true, chosen)) {
        qCWarning(lcUi) << "reading" << source_ << "again failed:" << error;
        return;
    }
    delimiter_changed();
}

void ImportDialog::delimiter_changed()
{
    if (updating_)
        return;
    take_controls();
    rows_ = split_delimited_lines(lines_, choice.delimiter);
    // Split anew, the file may show other lines above its table, and numbers with another mark.
    choice.mapping = starting_mapping(rows_, &choice.mapping);
    choice.decimal_mark = guess_decimal_mark(rows_, choice.mapping.first_data_row(), choice.delimiter);
    show_choice();
}

void ImportDialog::rows_changed(bool header_chosen)
{
    if (updating_)
        return;
    take_controls();
    if (!header_chosen) {
        // The lines skipped changed: whether a header follows, and what its words name, is read from
        // the file again; the columns chosen so far fill in the rest.
        choice.mapping = mapping_after(rows_, choice.mapping.skip_rows, &choice.mapping);
    } else if (choice.mapping.header) {
        // The user says a header follows: its words name the columns when they name N and E.
        const ColumnMapping named = guess_mapping(rows_, choice.mapping.skip_rows);
        if (named.has_coordinates())
            std::copy(std::begin(named.columns), std::end(named.columns), std::begin(choice.mapping.columns));
    }
    show_choice();
}

void ImportDialog::fill_column_combos()
{
    const int first = choice.mapping.first_data_row();
    int width = 0;
    for (int r = choice.mapping.skip_rows; r < rows_.size() && r < first + kDataRowsShown; ++r)
        width = qMax(width, int(rows_[r].size()));
    // A column is named by its header text, or its first value without a header.
    const int named_by = choice.mapping.header ? choice.mapping.skip_rows : first;
    const QStringList sample = named_by < rows_.size() ? rows_[named_by] : QStringList();
    updating_ = true;
    for (int role = 0; role < kPointRoleCount; ++role) {
        QComboBox* combo = column_combo(role);
        combo->clear();
        combo->addItem(text(NoColumn), -1);
        for (int column = 0; column < width; ++column) {
            const QString value = sample.value(column).trimmed().left(kColumnSampleLength);
            combo->addItem(value.isEmpty() ? column_letters(column)
                                           : text(ColumnEntry).arg(column_letters(column), value),
                           column);
        }
        combo->setCurrentIndex(qMax(0, combo->findData(choice.mapping.columns[role])));
        choice.mapping.columns[role] = combo->currentData().toInt();
    }
    updating_ = false;
}

void ImportDialog::show_preview()
{
    show_file_rows();
    const MappedPoints mapped = apply_mapping(rows_, choice.mapping, choice.decimal_mark);
    show_mapped_rows(mapped);
    const int skipped = qMin(int(rows_.size()), choice.mapping.first_data_row()) + mapped.blank_rows;
    QStringList summary;
    summary << counted(RowsRead, mapped.lines.size()) << counted(LinesSkipped, skipped);
    if (choice.mapping.has_coordinates() && mapped.not_numbers > 0)
        summary << counted(NotNumbers, mapped.not_numbers);
    if (text_file_ && undecodable_ > 0)
        summary << counted(Undecodable, undecodable_).arg(text_encoding_name(encoding_));
    if (mapped.changed_characters > 0)
        summary << counted(CharactersReplaced, mapped.changed_characters);
    if (mapped.decimal_commas > 0)
        summary << counted_text(decimal_texts_, DecimalCommas, mapped.decimal_commas);
    ui->labelSummary->setText(summary.join(text(Separator)));
    const QString problem = hint(mapped);
    ui->labelHint->setText(problem);
    ui->labelHint->setVisible(!problem.isEmpty());
    ui->pushButtonOk->setEnabled(problem.isEmpty() && !mapped.lines.isEmpty());
}

QString ImportDialog::hint(const MappedPoints& mapped) const
{
    for (int role = 0; role < kPointRoleCount; ++role) {
        const int column = choice.mapping.columns[role];
        for (int other = 0; other < role && column >= 0; ++other) {
            if (choice.mapping.columns[other] == column)
                return text(ColumnTwice).arg(column_letters(column));
        }
    }
    if (choice.mapping.has_coordinates() && mapped.grouped_rows > 0)
        return decimal_texts_.value(GroupedNumbers)
            .arg(mapped.first_grouped.row + 1)
            .arg(mapped.first_grouped.text)
            .arg(mapped.grouped_rows);
    if (choice.mapping.has_coordinates())
        return QString();
    // A header with X or Y: the words surveyors and GIS programs read the opposite way round.
    const QRegularExpression xy(QStringLiteral("^\\s*[XxYy]\\b"));
    const int header = choice.mapping.skip_rows;
    if (choice.mapping.header && header < rows_.size()) {
        for (const QString& cell : rows_[header]) {
            if (xy.match(cell).hasMatch())
                return text(NoXY);
        }
    }
    return text(ChooseNorthEast);
}

void ImportDialog::show_file_rows()
{
    const ColumnMapping& mapping = choice.mapping;
    const int shown = qMin(int(rows_.size()), qMax(kFileRowsShown, mapping.first_data_row() + kDataRowsShown));
    int width = 0;
    for (int r = 0; r < shown; ++r)
        width = qMax(width, int(rows_[r].size()));
    QTableWidget* table = ui->tableFile;
    table->clear();
    table->setRowCount(shown);
    table->setColumnCount(width);
    QStringList letters;
    for (int column = 0; column < width; ++column)
        letters << column_letters(column);
    table->setHorizontalHeaderLabels(letters);
    for (int r = 0; r < shown; ++r) {
        const bool skipped = r < mapping.skip_rows;
        const bool header = mapping.header && r == mapping.skip_rows;
        for (int column = 0; column < rows_[r].size(); ++column)
            set_cell(table, r, column, rows_[r][column], skipped, header);
    }
}

void ImportDialog::show_mapped_rows(const MappedPoints& mapped)
{
    QTableWidget* table = ui->tableRows;
    const int shown = qMin(int(mapped.lines.size()), kDataRowsShown);
    table->clearContents();
    table->setRowCount(shown);
    for (int r = 0; r < shown; ++r) {
        const QStringList fields = split_point_line(mapped.lines[r]);
        for (int column = 0; column < fields.size() && column < kPointRoleCount; ++column)
            set_cell(table, r, column, fields[column], false, false);
    }
}

void ImportDialog::on_pushButtonOk_clicked()
{
    take_controls();
    points = apply_mapping(rows_, choice.mapping, choice.decimal_mark);
    skipped_lines = qMin(int(rows_.size()), choice.mapping.first_data_row()) + points.blank_rows;
    result_flag = true;
    accept();
}

void ImportDialog::on_pushButtonCancel_clicked()
{
    result_flag = false;
    reject();
}

bool ImportDialog::map_rows(QWidget* parent, const QStringList& texts, const QStringList& decimal_texts,
                            const TextRows& rows, const QString& source, ImportChoice* choice, bool has_choice,
                            MappedPoints* points, int* skipped_lines)
{
    ImportDialog dialog(parent);
    dialog.choice = *choice;
    dialog.has_last_choice = has_choice;
    dialog.set_rows(rows, source);
    if (!dialog.importdlg_ini(texts, decimal_texts))
        return false;
    dialog.exec();
    if (!dialog.result_flag)
        return false;
    *choice = dialog.choice;
    *points = dialog.points;
    *skipped_lines = dialog.skipped_lines;
    return true;
}
