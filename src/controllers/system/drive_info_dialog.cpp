// The drive-usage dialog and its pie chart, drawn with QPainter.
#include "controllers/system/drive_info_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace haruvi::controllers {
namespace {

class PieChart : public QWidget {
 public:
  PieChart(QString title, const systools::DriveUsage& u, QWidget* parent)
      : QWidget(parent), title_(std::move(title)), u_(u) {
    setMinimumSize(360, 260);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    const QFontMetrics fm(font());
    p.setPen(Qt::black);
    p.drawText(QRect(0, 4, width(), fm.height()), Qt::AlignHCenter, title_);
    const int side = std::max(40, std::min(width() / 2, height() - 3 * fm.height() - 16));
    const QRect pie(12, fm.height() + 12, side, side);
    const double used_part = u_.total ? static_cast<double>(u_.Used()) / static_cast<double>(u_.total) : 0.0;
    const int used_span = static_cast<int>(used_part * 360 * 16);
    p.setBrush(Qt::red);
    p.drawPie(pie, 90 * 16, -used_span);
    p.setBrush(Qt::blue);
    p.drawPie(pie, 90 * 16 - used_span, -(360 * 16 - used_span));
    const int x = pie.right() + 16;
    const auto legend = [&](int row, const QColor& color, const QString& text) {
      const int y = pie.top() + row * (fm.height() + 8);
      p.setBrush(color);
      p.drawRect(x, y + 2, fm.height() - 4, fm.height() - 4);
      p.drawText(x + fm.height() + 4, y + fm.ascent(), text);
    };
    legend(0, Qt::red, QStringLiteral("使用 ") + QString::fromStdString(systools::ByteText(u_.Used())));
    legend(1, Qt::blue, QStringLiteral("未使用 ") + QString::fromStdString(systools::ByteText(u_.free)));
  }

 private:
  QString title_;
  systools::DriveUsage u_;
};

}  // namespace

DriveInfoDialog::DriveInfoDialog(const QString& folder, const systools::DriveUsage& usage, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("Form9"));
  setWindowTitle(QStringLiteral("ドライブ情報"));
  QString root = QStorageInfo(folder).rootPath();
  if (root.isEmpty()) root = folder;
  const QString total = QString::fromStdString(systools::ByteText(usage.total));
  title_ = QStringLiteral("ドライブ情報 ") + root + QStringLiteral(" ") + total;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new PieChart(title_, usage, this), 1);
  Totals = new QLineEdit(root + QStringLiteral(" 全容量 ") + total + QStringLiteral("  使用 ") +
                             QString::fromStdString(systools::ByteText(usage.Used())) + QStringLiteral("  未使用 ") +
                             QString::fromStdString(systools::ByteText(usage.free)),
                         this);
  Totals->setReadOnly(true);
  layout->addWidget(Totals);
  layout->addWidget(new QLabel(QString::fromStdString(systools::ClusterLine(usage)), this));
  layout->addWidget(new QLabel(QStringLiteral("一部のドライブでは情報が正しく取得できない場合があります。"), this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

}  // namespace haruvi::controllers
