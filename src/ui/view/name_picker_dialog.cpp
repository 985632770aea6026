#include "ui/view/name_picker_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/util/cp1252.h"
#include "ui/display/ui_text.h"

namespace maptesk {
namespace {

QString FromBytes(const std::string& text) { return QString::fromStdString(Cp1252ToUtf8(text)); }

}  // namespace

// --- Name picker -----------------------------------------------------------------

NamePickerDialog::NamePickerDialog(NamePickerModel& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint), model_(model) {
  // A narrow strip laid over the terrain chooser: it has no caption.
  auto* heading = new QLabel("Double click to select a Name", this);
  heading->setObjectName("heading");

  list_ = new QListWidget(this);
  list_->setObjectName("names");
  // The lines are "[%-2d]  name": a fixed pitch keeps the names in one column.
  list_->setFont(ListFont());
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setMinimumHeight(300);
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { model_.Select(row); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { Choose(); });

  auto* choose = new QPushButton("X", this);
  choose->setObjectName("ok");
  choose->setDefault(true);
  connect(choose, &QPushButton::clicked, this, [this] { Choose(); });
  auto* add = new QPushButton("&Add", this);
  add->setObjectName("add");
  add->setAutoDefault(false);
  connect(add, &QPushButton::clicked, this, [this] {
    model_.Add();
    ShowModel();
  });
  auto* edit = new QPushButton("&Edit", this);
  edit->setObjectName("edit");
  edit->setAutoDefault(false);
  connect(edit, &QPushButton::clicked, this, [this] {
    model_.Edit();
    ShowModel();
  });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(choose);
  buttons->addWidget(add);
  buttons->addWidget(edit);

  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(6, 6, 6, 6);
  top->addWidget(heading);
  top->addWidget(list_, 1);
  top->addLayout(buttons);

  ShowModel();
  resize(std::max(sizeHint().width(), 200), 420);
}

void NamePickerDialog::ShowModel() {
  // The model picks the selection after every change; the list follows it
  // without echoing the move back.
  const QSignalBlocker quiet(list_);
  list_->clear();
  for (const std::string& line : model_.lines()) list_->addItem(FromBytes(line));
  list_->setCurrentRow(model_.selectedLine());
  if (model_.selectedLine() >= 0) list_->scrollToItem(list_->currentItem());
  list_->setFocus();
}

void NamePickerDialog::Choose() {
  model_.Accept();
  accept();
}

DialogEnd NamePickerDialog::Run(NamePickerModel& model, QWidget* parent) {
  NamePickerDialog dialog(model, parent);
  return dialog.exec() == QDialog::Accepted ? DialogEnd::kOk : DialogEnd::kCancel;
}

// --- Text entry ------------------------------------------------------------------

TextEntryDialog::TextEntryDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Tesk Map Tool");
  prompt_ = new QLabel("Enter data", this);
  prompt_->setObjectName("prompt");
  edit_ = new QLineEdit(this);
  edit_->setObjectName("text");
  edit_->setMinimumWidth(260);
  prompt_->setBuddy(edit_);
  error_ = new QLabel(this);
  error_->setObjectName("error");
  error_->setWordWrap(true);
  error_->setStyleSheet("color: #b00000");
  error_->hide();
  connect(edit_, &QLineEdit::textEdited, error_, &QWidget::hide);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* top = new QVBoxLayout(this);
  top->addWidget(prompt_);
  top->addWidget(edit_);
  top->addWidget(error_);
  top->addWidget(buttons);
  top->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<std::string> TextEntryDialog::AskText(const std::string& prompt,
                                                    const std::string& text) {
  prompt_->setText(FromBytes(prompt));
  edit_->setText(FromBytes(text));
  edit_->selectAll();
  edit_->setFocus();
  error_->hide();
  bytes_.clear();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return bytes_;
}

void TextEntryDialog::accept() {
  const std::string utf8 = edit_->text().toStdString();
  std::optional<std::string> bytes = Utf8ToCp1252(utf8);
  if (!bytes) {
    // The names file holds Windows-1252 bytes: name the first character
    // that would be lost instead of changing it silently.
    QString bad;
    for (const QChar* c = edit_->text().constData(); !c->isNull(); ++c) {
      const QString one = c->isHighSurrogate() ? QString(c, 2) : QString(*c);
      if (!Utf8ToCp1252(one.toStdString())) {
        bad = one;
        break;
      }
      if (c->isHighSurrogate()) ++c;
    }
    error_->setText(QString("The character \"%1\" cannot be stored in a names file "
                            "(Windows-1252). Please use another one.")
                        .arg(bad));
    error_->show();
    edit_->setFocus();
    return;
  }
  bytes_ = *bytes;
  QDialog::accept();
}

}  // namespace maptesk
