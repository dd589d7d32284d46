// The window's controls and their places.
#include <QAction>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/window/FormArc.h"
#include "app/window/RadioGroup.h"
#include "app/window/TypedLengthLimit.h"

namespace quillaby {
namespace {

constexpr int kClientWidth = 426;
constexpr int kClientHeight = 438;
constexpr int kTabHeight = 313;
constexpr int kSplitterWidth = 8;
constexpr int kProgressHeight = 8;
constexpr int kPanel1Height = 49;
constexpr int kMaskTypedLimit = 256;

// The settings page holds its groups in the pages' fixed height: tight
// margins, as on the original dialog.
constexpr QMargins kGroupMargins(8, 4, 8, 6);
constexpr int kGroupRowSpacing = 2;

template <class W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QFont WindowFont() {
  // The design's font first; where it is not installed, a Japanese font the
  // setup installs, so the captions never fall back to boxes.
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                    QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")});
  font.setPixelSize(12);
  return font;
}

}  // namespace

void TFormArc::BuildWindow() {
  setObjectName(QStringLiteral("FormArc"));
  setWindowTitle(QStringLiteral("Quillaby"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(WindowFont());
  setAcceptDrops(true);

  Tab = Named(new QTabWidget(this), "Tab");
  TabList = Named(BuildListPage(), "TabList");
  TabConfig = Named(BuildConfigPage(), "TabConfig");
  Tab->addTab(TabList, QStringLiteral("ファイル"));
  Tab->addTab(TabConfig, QStringLiteral("設定"));
  Tab->setCurrentWidget(TabList);

  Log = Named(new QPlainTextEdit(this), "Log");
  Log->setReadOnly(true);
  Log->setAcceptDrops(false);
  Log->setLineWrapMode(QPlainTextEdit::NoWrap);
  Log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Log->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // The selection stays as visible when the log loses focus.
  QPalette logPalette = Log->palette();
  logPalette.setColor(QPalette::Inactive, QPalette::Highlight, logPalette.color(QPalette::Active, QPalette::Highlight));
  logPalette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                      logPalette.color(QPalette::Active, QPalette::HighlightedText));
  Log->setPalette(logPalette);

  Splitter1 = Named(new QSplitter(Qt::Vertical, this), "Splitter1");
  Splitter1->setHandleWidth(kSplitterWidth);
  Splitter1->setChildrenCollapsible(false);
  Splitter1->addWidget(Tab);
  Splitter1->addWidget(Log);
  // The pages keep their height when the window is resized; the log takes
  // the rest.
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Log->setMinimumHeight(30);
  Tab->setMinimumHeight(30);

  ProgressBar = Named(new QProgressBar(this), "ProgressBar");
  ProgressBar->setRange(0, 100);
  ProgressBar->setValue(0);
  ProgressBar->setTextVisible(false);
  ProgressBar->setFixedHeight(kProgressHeight);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Splitter1, 1);
  layout->addWidget(ProgressBar);

  BuildPopup();

  OpenDialog = Named(new QFileDialog(this), "OpenDialog");
  OpenDialog->setFileMode(QFileDialog::ExistingFiles);
  OpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
  OpenDialog->setNameFilters(
      {QStringLiteral("アーカイブ (*.lzh *.zip *.cab *.tar *.tgz *.gz *.bz2 *.rar *.arj *.gza *.bza *.gca *.yz1 *.7z)"),
       QStringLiteral("全てのファイル (*)")});
  OpenDialog->setSizeGripEnabled(true);

  // Rows as high as the window's font needs, now that the list has it.
  ListFile->verticalHeader()->setDefaultSectionSize(ListFile->fontMetrics().height() + 6);
  resize(kClientWidth, kClientHeight);
  // The pages' height is set once the splitter has its real size; before
  // that the splitter would scale it.
  layout->activate();
  Splitter1->setSizes({kTabHeight, kClientHeight - kTabHeight - kSplitterWidth - kProgressHeight});
}

QWidget* TFormArc::BuildListPage() {
  auto* page = new QWidget;

  Panel1 = Named(new QFrame(page), "Panel1");
  Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
  Panel1->setFixedHeight(kPanel1Height);
  ButtonExec = Named(new QPushButton(QStringLiteral("一括解凍"), Panel1), "ButtonExec");
  ButtonExec->setMinimumWidth(75);
  LabelMask = Named(new QLabel(QStringLiteral("対象となるファイル拡張子"), Panel1), "LabelMask");
  EditMask = Named(new QLineEdit(QStringLiteral("*.*"), Panel1), "EditMask");
  EditMask->setAcceptDrops(false);
  LimitTypedLength(EditMask, kMaskTypedLimit);
  LabelMask->setBuddy(EditMask);
  connect(ButtonExec, &QPushButton::clicked, this, [this] { ButtonExecClick(); });
  auto* panelLayout = new QHBoxLayout(Panel1);
  panelLayout->setContentsMargins(8, 8, 8, 8);
  panelLayout->addWidget(ButtonExec);
  panelLayout->addSpacing(8);
  panelLayout->addWidget(LabelMask);
  panelLayout->addWidget(EditMask, 1);

  ListFile = Named(new QTableWidget(0, 3, page), "ListFile");
  ListFile->setHorizontalHeaderLabels({QStringLiteral("FileName"), QStringLiteral("Size"), QStringLiteral("FullPath")});
  ListFile->horizontalHeaderItem(1)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  ListFile->setColumnWidth(0, 150);
  ListFile->setColumnWidth(1, 80);
  ListFile->setColumnWidth(2, 200);
  ListFile->setShowGrid(true);
  ListFile->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ListFile->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListFile->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListFile->setSortingEnabled(false);
  ListFile->setWordWrap(false);
  ListFile->setAcceptDrops(false);
  ListFile->verticalHeader()->hide();
  ListFile->horizontalHeader()->setSectionsClickable(false);
  ListFile->horizontalHeader()->setHighlightSections(false);
  ListFile->horizontalHeader()->setStretchLastSection(false);
  ListFile->setContextMenuPolicy(Qt::CustomContextMenu);
  ListFile->installEventFilter(this);

  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Panel1);
  layout->addWidget(ListFile, 1);
  return page;
}

QWidget* TFormArc::BuildConfigPage() {
  auto* page = new QWidget;
  Panel2 = Named(new QFrame(page), "Panel2");
  Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* pageLayout = new QVBoxLayout(page);
  pageLayout->setContentsMargins(0, 0, 0, 0);
  pageLayout->addWidget(Panel2);

  GroupFolder = Named(new QGroupBox(QStringLiteral("解凍場所"), Panel2), "GroupFolder");
  RadioSame = Named(new QRadioButton(QStringLiteral("アーカイブと同じ場所"), GroupFolder), "RadioSame");
  RadioFolder = Named(new QRadioButton(QStringLiteral("固定フォルダ"), GroupFolder), "RadioFolder");
  EditFolder = Named(new QLineEdit(GroupFolder), "EditFolder");
  EditFolder->setAcceptDrops(false);
  ButtonFolder = Named(new QPushButton(QStringLiteral("参照"), GroupFolder), "ButtonFolder");
  RadioSame->setChecked(true);
  auto* folderLayout = new QGridLayout(GroupFolder);
  folderLayout->addWidget(RadioSame, 0, 0, 1, 2);
  folderLayout->addWidget(RadioFolder, 1, 0, 1, 2);
  folderLayout->addWidget(EditFolder, 2, 0);
  folderLayout->addWidget(ButtonFolder, 2, 1);
  folderLayout->setColumnStretch(0, 1);
  folderLayout->setContentsMargins(kGroupMargins);
  folderLayout->setVerticalSpacing(kGroupRowSpacing);

  GroupExist = Named(new QGroupBox(QStringLiteral("既存ファイルの解凍時の動作"), Panel2), "GroupExist");
  RadioOver = Named(new QRadioButton(QStringLiteral("上書き"), GroupExist), "RadioOver");
  RadioSkip = Named(new QRadioButton(QStringLiteral("スキップ"), GroupExist), "RadioSkip");
  RadioRename = Named(new QRadioButton(QStringLiteral("別名保存"), GroupExist), "RadioRename");
  EditRename = Named(new QLineEdit(QStringLiteral("%a"), GroupExist), "EditRename");
  EditRename->setAcceptDrops(false);
  EditRename->setEnabled(false);
  LabelRename1 = Named(new QLabel(QStringLiteral("%a : アーカイブファイル名"), GroupExist), "LabelRename1");
  LabelRename2 = Named(new QLabel(QStringLiteral("%f : ファイル名"), GroupExist), "LabelRename2");
  LabelRename3 = Named(new QLabel(QStringLiteral("%n : ユニークでない間増加する数値"), GroupExist), "LabelRename3");
  LabelRename4 = Named(new QLabel(QStringLiteral("(一個だけ使用可能)"), GroupExist), "LabelRename4");
  RadioSkip->setChecked(true);
  auto* existLayout = new QGridLayout(GroupExist);
  existLayout->addWidget(RadioOver, 0, 0, 1, 2);
  existLayout->addWidget(RadioSkip, 1, 0, 1, 2);
  existLayout->addWidget(RadioRename, 2, 0);
  existLayout->addWidget(EditRename, 2, 1);
  int row = 3;
  for (QLabel* label : {LabelRename1, LabelRename2, LabelRename3, LabelRename4})
    existLayout->addWidget(label, row++, 0, 1, 2);
  existLayout->setColumnStretch(1, 1);
  existLayout->setContentsMargins(kGroupMargins);
  existLayout->setVerticalSpacing(kGroupRowSpacing);

  GroupAfter = Named(new TRadioGroup(QStringLiteral("解凍後のアーカイブファイル"),
                                     {QStringLiteral("何もしない"), QStringLiteral("削除")}, Panel2),
                     "GroupAfter");
  GroupAfter->SetItemIndex(0);
  GroupAfter->layout()->setContentsMargins(kGroupMargins);
  GroupAfter->layout()->setSpacing(kGroupRowSpacing);

  auto* lower = new QHBoxLayout;
  lower->addWidget(GroupExist, 1);
  lower->addWidget(GroupAfter, 0, Qt::AlignTop);
  auto* panelLayout = new QVBoxLayout(Panel2);
  panelLayout->setContentsMargins(6, 6, 6, 6);
  panelLayout->setSpacing(6);
  panelLayout->addWidget(GroupFolder);
  panelLayout->addLayout(lower);
  panelLayout->addStretch(1);

  connect(RadioSame, &QRadioButton::toggled, this, [this] { RadioFolderClick(); });
  connect(RadioFolder, &QRadioButton::toggled, this, [this] { RadioFolderClick(); });
  for (QRadioButton* r : {RadioOver, RadioSkip, RadioRename})
    connect(r, &QRadioButton::toggled, this, [this] { RadioRenameClick(); });
  connect(ButtonFolder, &QPushButton::clicked, this, [this] { ButtonFolderClick(); });
  return page;
}

void TFormArc::BuildPopup() {
  PopupList = Named(new QMenu(this), "PopupList");
  File = Named(PopupList->addAction(QStringLiteral("ファイル登録")), "File");
  N1 = Named(PopupList->addSeparator(), "N1");
  Remove = Named(PopupList->addAction(QStringLiteral("選択中のファイルを除外")), "Remove");
  Clear = Named(PopupList->addAction(QStringLiteral("リストクリア")), "Clear");
  File->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  Remove->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
  Clear->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  // Shown beside the entries only: the list's key handler runs them.
  for (QAction* a : {File, Remove, Clear}) a->setShortcutContext(Qt::WidgetShortcut);
  connect(File, &QAction::triggered, this, [this] { FileClick(); });
  connect(Remove, &QAction::triggered, this, [this] { RemoveClick(); });
  connect(Clear, &QAction::triggered, this, [this] { ClearClick(); });
  connect(PopupList, &QMenu::aboutToShow, this, [this] { PopupListPopup(); });
  // popup(), not exec(): a menu opened while a run processes messages must
  // not hold the run up in a loop of its own.
  connect(ListFile, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { PopupList->popup(ListFile->viewport()->mapToGlobal(pos)); });
}

}  // namespace quillaby
