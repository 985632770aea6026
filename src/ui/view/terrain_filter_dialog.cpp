#include "ui/view/terrain_filter_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/view/terrain_filter_model.h"

namespace maptesk {
namespace {

constexpr int kIconWidth = 16;
constexpr int kIconHeight = 11;

}  // namespace

TerrainFilterDialog::TerrainFilterDialog(TerrainFilterModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
  setWindowTitle("Filter Terrain to view");

  auto* heading = new QLabel("Check all terrain types you wish to show", this);
  heading->setObjectName("heading");

  // The boxes carry no text of their own: the picture beside them names
  // the types, row for row, so both share one pitch.
  auto* boxColumn = new QVBoxLayout;
  boxColumn->setSpacing(0);
  int pitch = 0;
  for (int i = 0; i < TerrainTable::kCount; ++i) {
    auto* box = new QCheckBox(this);
    box->setObjectName(QString("terrain%1").arg(i));
    box->setAccessibleName(QString::fromLatin1(TerrainTable::Name(i)));
    pitch = std::max(pitch, box->sizeHint().height());
    connect(box, &QCheckBox::toggled, this, [this, i](bool on) { model_.flags[i] = on ? 1 : 0; });
    boxes_[i] = box;
  }
  for (QCheckBox* box : boxes_) {
    box->setFixedHeight(pitch);
    boxColumn->addWidget(box);
  }
  auto* picture = new QLabel(this);
  picture->setObjectName("typesPicture");
  picture->setPixmap(TypesPicture(pitch));
  picture->setAlignment(Qt::AlignTop | Qt::AlignLeft);

  auto* boxesAndPicture = new QHBoxLayout;
  boxesAndPicture->setSpacing(4);
  boxesAndPicture->addLayout(boxColumn);
  boxesAndPicture->addWidget(picture, 0, Qt::AlignTop);
  boxesAndPicture->addStretch();

  labels_ = new QCheckBox("Show Labels no icons", this);
  labels_->setObjectName("labels");
  connect(labels_, &QCheckBox::toggled, this, [this](bool on) { model_.labels = on; });

  auto* setAll = new QPushButton("Set &All", this);
  setAll->setObjectName("setAll");
  setAll->setAutoDefault(false);
  connect(setAll, &QPushButton::clicked, this, [this] {
    model_.SetAll();
    ShowModel();
  });
  auto* resetAll = new QPushButton("&Reaset All", this);
  resetAll->setObjectName("resetAll");
  resetAll->setAutoDefault(false);
  connect(resetAll, &QPushButton::clicked, this, [this] {
    model_.ResetAll();
    ShowModel();
  });

  auto* buttons =
      new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* side = new QVBoxLayout;
  side->addWidget(labels_);
  side->addSpacing(8);
  side->addWidget(setAll);
  side->addWidget(resetAll);
  side->addStretch();
  side->addWidget(buttons);

  auto* body = new QHBoxLayout;
  body->addLayout(boxesAndPicture);
  body->addSpacing(12);
  body->addLayout(side);

  auto* top = new QVBoxLayout(this);
  top->addWidget(heading);
  top->addLayout(body);
  top->setSizeConstraint(QLayout::SetFixedSize);

  ShowModel();
}

void TerrainFilterDialog::ShowModel() {
  for (int i = 0; i < TerrainTable::kCount; ++i) boxes_[i]->setChecked(model_.flags[i] > 0);
  labels_->setChecked(model_.labels);
}

QPixmap TerrainFilterDialog::TypesPicture(int rowPitch) {
  QImage icons(":/art/art_144_terrain_icons.bmp");
  if (!icons.isNull()) {
    // The sheet's top-left pixel is its colour key.
    icons = icons.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = icons.pixel(0, 0);
    for (int y = 0; y < icons.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(icons.scanLine(y));
      for (int x = 0; x < icons.width(); ++x) {
        if (line[x] == key) line[x] = qRgba(0, 0, 0, 0);
      }
    }
  }
  QFont font;
  const QFontMetrics metrics(font);
  int textWidth = 0;
  for (int i = 0; i < TerrainTable::kCount; ++i) {
    textWidth = std::max(textWidth, metrics.horizontalAdvance(TerrainTable::Name(i)));
  }
  QPixmap picture(kIconWidth + 6 + textWidth + 2, rowPitch * TerrainTable::kCount);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setFont(font);
  painter.setPen(QPalette().color(QPalette::WindowText));
  for (int i = 0; i < TerrainTable::kCount; ++i) {
    const int top = i * rowPitch;
    if (!icons.isNull()) {
      painter.drawImage(QPoint(0, top + (rowPitch - kIconHeight) / 2), icons,
                        QRect(i * kIconWidth, 0, kIconWidth, kIconHeight));
    }
    painter.drawText(QRect(kIconWidth + 6, top, textWidth + 2, rowPitch),
                     Qt::AlignVCenter | Qt::AlignLeft, TerrainTable::Name(i));
  }
  return picture;
}

DialogEnd TerrainFilterDialog::Run(TerrainFilterModel& model, QWidget* parent) {
  TerrainFilterDialog dialog(model, parent);
  return dialog.exec() == QDialog::Accepted ? DialogEnd::kOk : DialogEnd::kCancel;
}

}  // namespace maptesk
