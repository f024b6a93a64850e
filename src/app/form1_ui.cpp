// TForm1's panels: the splitters, the left column, the file list, the text panel with
// its tool bar, information line, pane and bar, and the window's status bar; their
// sizes and the pane's hiding.
#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/form1.h"
#include "shellview/combo_view.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "ui/action_registry.h"
#include "ui/panel_bar.h"
#include "ui/shown_text.h"
#include "viewer/text_pane.h"

namespace haruvi::app {

namespace {

QWidget* Panel(const QString& name, QWidget* parent) {
  auto* w = new QWidget(parent);
  w->setObjectName(name);
  return w;
}

}  // namespace

void TForm1::BuildPanels() {
  auto* central = new QWidget(this);
  auto* outer = new QVBoxLayout(central);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);

  Splitter2 = new QSplitter(Qt::Horizontal, central);
  Splitter2->setObjectName(QStringLiteral("Splitter2"));
  Splitter2->setHandleWidth(3);
  Splitter2->setChildrenCollapsible(false);

  Splitter1 = new QSplitter(Qt::Vertical, Splitter2);
  Splitter1->setObjectName(QStringLiteral("PanelL"));
  Splitter1->setHandleWidth(3);
  Splitter1->setChildrenCollapsible(false);
  PanelL = Splitter1;
  PanelLT = Panel(QStringLiteral("PanelLT"), Splitter1);
  auto* lt = new QVBoxLayout(PanelLT);
  lt->setContentsMargins(0, 0, 0, 0);
  ComboView1 = new shellview::TComboView(PanelLT);
  lt->addWidget(ComboView1);
  lt->addStretch(1);
  PanelLB = Panel(QStringLiteral("PanelLB"), Splitter1);
  auto* lb = new QVBoxLayout(PanelLB);
  lb->setContentsMargins(0, 0, 0, 0);
  FolderView1 = new shellview::TFolderView(PanelLB);
  lb->addWidget(FolderView1);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  PanelLT->setMinimumHeight(ComboView1->sizeHint().height());

  Splitter3 = new QSplitter(Qt::Vertical, Splitter2);
  Splitter3->setObjectName(QStringLiteral("PanelR"));
  Splitter3->setHandleWidth(3);
  Splitter3->setChildrenCollapsible(false);
  PanelR = Splitter3;
  PanelRT = Panel(QStringLiteral("PanelRT"), Splitter3);
  auto* rt = new QVBoxLayout(PanelRT);
  rt->setContentsMargins(0, 0, 0, 0);
  FileView1 = new shellview::TFileView(PanelRT);
  rt->addWidget(FileView1);

  PanelRB = Panel(QStringLiteral("PanelRB"), Splitter3);
  auto* rb = new QVBoxLayout(PanelRB);
  rb->setContentsMargins(0, 0, 0, 0);
  rb->setSpacing(0);
  PanelRBT = Panel(QStringLiteral("PanelRBT"), PanelRB);
  auto* rbt = new QVBoxLayout(PanelRBT);
  rbt->setContentsMargins(2, 3, 2, 3);
  rbt->setSpacing(3);
  ToolBar2 = new QToolBar(PanelRBT);
  ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
  ToolBar2->setIconSize(QSize(20, 20));
  LFilestring = new QLabel(PanelRBT);
  LFilestring->setObjectName(QStringLiteral("LFilestring"));
  LFilestring->setTextFormat(Qt::PlainText);
  LFilestring->setTextInteractionFlags(Qt::TextSelectableByMouse);
  rbt->addWidget(ToolBar2);
  rbt->addWidget(LFilestring);
  RichEdit1 = new viewer::TextPane(PanelRB);
  SBarR = new ui::PanelBar(QStringLiteral("SBarR"), {100, 80, 50, 40, 60, 50, 50}, PanelRB);
  text_ = new ui::ShownText(*RichEdit1, *LFilestring, *SBarR, this);
  rb->addWidget(PanelRBT);
  rb->addWidget(RichEdit1, 1);
  rb->addWidget(SBarR);
  Splitter3->setStretchFactor(0, 1);
  Splitter3->setStretchFactor(1, 0);

  Splitter2->setStretchFactor(0, 0);
  Splitter2->setStretchFactor(1, 1);
  outer->addWidget(Splitter2, 1);
  StatusBar1 = new ui::PanelBar(QStringLiteral("StatusBar1"), {300, 100, 120, 80, 50}, central, true);
  outer->addWidget(StatusBar1);
  setCentralWidget(central);
}

int TForm1::PanelRBHeight() const {
  const QList<int> sizes = Splitter3->sizes();
  return sizes.size() == 2 ? sizes[1] : 0;
}

void TForm1::SetPanelRBHeight(int height) {
  const int total = Splitter3->height() - Splitter3->handleWidth();
  height = std::clamp(height, 0, std::max(0, total));
  Splitter3->setSizes({total - height, height});
}

int TForm1::PanelLWidth() const {
  const QList<int> sizes = Splitter2->sizes();
  return sizes.isEmpty() ? 0 : sizes[0];
}

void TForm1::SetPanelLWidth(int width) {
  const int total = Splitter2->width() - Splitter2->handleWidth();
  width = std::clamp(width, 0, std::max(0, total));
  Splitter2->setSizes({width, total - width});
}

// The combo always spans PanelLT (its layout sizes it); only its minimum must not hold
// the left column wider than the user made it.
void TForm1::Splitter2Moved() { ComboView1->setMaximumWidth(PanelLT->width()); }

void TForm1::SetTextPaneVisible(bool visible) {
  QAction* a = actions_->Get(QStringLiteral("MeditView1"));
  const int bars = PanelRBT->sizeHint().height() + SBarR->sizeHint().height();
  RichEdit1->setVisible(visible);
  if (visible) {
    SetPanelRBHeight(bars + savedtextheight_);
    a->setIcon(QIcon::fromTheme(QStringLiteral("go-down")));
    a->setToolTip(QStringLiteral("隠す"));
    a->setText(QStringLiteral("テキスト表示を隠す(&I)"));
    a->setStatusTip(QStringLiteral("テキスト表示を隠します。"));
  } else {
    SetPanelRBHeight(bars);
    a->setIcon(QIcon::fromTheme(QStringLiteral("go-up")));
    a->setToolTip(QStringLiteral("表示する"));
    a->setText(QStringLiteral("テキスト表示を表示する(&I)"));
    a->setStatusTip(QStringLiteral("テキスト表示を表示します。"));
  }
}

}  // namespace haruvi::app
