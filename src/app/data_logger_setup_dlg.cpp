#include "app/data_logger_setup_dlg.h"

#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QVBoxLayout>
#include <ctime>

#include "app/about_dlg.h"
#include "app/app_images.h"
#include "app/data_log_box.h"
#include "app/device_selector.h"
#include "app/image_button.h"
#include "app/lamp.h"
#include "app/phone_book_tab.h"
#include "app/snapshot_list_dialog.h"
#include "app/tab_sheet.h"
#include "batch/batch_page.h"
#include "link/command_codes.h"
#include "link/named_port.h"
#include "link/port_name.h"
#include "pages/alarms/analog_alarm_page.h"
#include "pages/alarms/input_alarm_page.h"
#include "pages/analog/analog_channel_page.h"
#include "pages/data_record/data_record_page.h"
#include "pages/device_setup/device_setup_page.h"
#include "pages/inputs/input_channel_page.h"
#include "pages/page_widgets.h"
#include "pages/relays/relay_output_page.h"
#include "phonebook/phone_book_page.h"
#include "protocol/status_parse.h"

namespace {

constexpr int kCommandTickMs = 100;

// The top tab that shows the device pages, selected at start.
constexpr int kDeviceTab = 1;

// Screen readers and automation meet the main window as a window; Qt gives that
// role only to its own dialog and main window classes.
QAccessibleInterface* AccessibleMainWindow(const QString& class_name, QObject* object) {
  if (class_name != QLatin1String(CDataLoggerSetupDlg::staticMetaObject.className())) {
    return nullptr;
  }
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

void ExposeAsWindow() {
  static const bool installed = (QAccessible::installFactory(AccessibleMainWindow), true);
  (void)installed;
}

// Keeps a control's place in the layout while it is hidden, so that nothing
// jumps when a command starts or ends.
void KeepPlaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

}  // namespace

CDataLoggerSetupDlg::CDataLoggerSetupDlg(vexa::Notifier& notifier, std::string phone_book_path,
                                         QWidget* parent)
    : QWidget(parent),
      notifier_(notifier),
      phone_book_(std::move(phone_book_path), notifier),
      // What cannot be kept is told where replies are: the work goes on.
      snapshots_(phone_book_.path(), [this](const std::string& text) { DataLogEntry(text); }),
      // Both run on the receive thread: they post a copy to this thread and return.
      serial_port_(
          [this](std::string burst) {
            QMetaObject::invokeMethod(
                this, [this, burst = std::move(burst)] { exchange_.OnReceived(burst); },
                Qt::QueuedConnection);
          },
          [this] {
            QMetaObject::invokeMethod(
                this, [this, generation = link_generation_.load()] { OnLinkLost(generation); },
                Qt::QueuedConnection);
          }),
      exchange_(serial_port_, phone_book_, command_buffer_, setup_log_, notifier, *this),
      commands_(exchange_, phone_book_, notifier, *this),
      scroll_area_(std::make_unique<QScrollArea>(this)) {
  ExposeAsWindow();
  setWindowTitle(QStringLiteral("Vexa-T_Setup"));

  auto* content = new QWidget;
  auto* strip = new QHBoxLayout;
  strip->addWidget(BuildConnectionBar());
  strip->addWidget(BuildReadParameters());
  strip->addStretch(1);
  strip->addWidget(BuildTitleBlock());
  auto* layout = new QVBoxLayout(content);
  layout->setContentsMargins(7, 7, 7, 7);
  layout->addLayout(strip);
  BuildTabs(content);

  scroll_area_->setWidget(content);
  scroll_area_->setWidgetResizable(true);
  scroll_area_->setFrameShape(QFrame::NoFrame);
  auto* window_layout = new QVBoxLayout(this);
  window_layout->setContentsMargins(0, 0, 0, 0);
  window_layout->addWidget(scroll_area_.get());

  command_timer_.setInterval(kCommandTickMs);
  ConnectHandlers();

  // The initial state: RS232, nothing connected or selected, the device pages shown.
  rs232_radio_->setChecked(true);
  ShowConnected(false);
  ProgressChanged();
  // The Connection list reads these; the phone book page fills its list when shown.
  phone_book_.ReloadEntries();
  // A damaged or unusable phone book is told once, over the window just shown.
  QTimer::singleShot(0, this, [this] { phone_book_.CheckFile(); });
  if (QScreen* screen = QGuiApplication::primaryScreen()) FitToScreen(screen->availableGeometry());
}

CDataLoggerSetupDlg::~CDataLoggerSetupDlg() {
  // Ends the receive thread before the objects it reports to go away.
  CloseLink();
  scroll_area_.reset();
}

template <typename Page>
Page* CDataLoggerSetupDlg::DevicePage(int index) {
  return static_cast<Page*>(device_sheet_->widget(index));
}

CBatchInitDlg* CDataLoggerSetupDlg::BatchPage() {
  return DevicePage<CBatchInitDlg>(vexa::kBatchSetupPage);
}

QWidget* CDataLoggerSetupDlg::BuildConnectionBar() {
  auto* box = new QGroupBox(QStringLiteral("Connection Setup:"));
  rs232_radio_ = new QRadioButton(QStringLiteral("RS232"));
  gsm_radio_ = new QRadioButton(QStringLiteral("GSM Modem"));
  auto* route = new QButtonGroup(box);
  route->addButton(rs232_radio_);
  route->addButton(gsm_radio_);

  auto* port_label = new QLabel(QStringLiteral("Port:"));
  port_combo_ = new QComboBox;
  port_combo_->setEditable(true);
  port_combo_->setInsertPolicy(QComboBox::NoInsert);
  port_combo_->setMinimumContentsLength(12);
  port_combo_->setAccessibleName(port_label->text());
  port_label->setBuddy(port_combo_);
  for (const std::string& name : vexa::PortList()) {
    port_combo_->addItem(QFile::decodeName(name.c_str()));
  }
  port_combo_->setCurrentIndex(-1);

  // As wide as its longer text, so that nothing moves when it changes.
  connect_button_ = new ImageButton(QStringLiteral("Disconnect"));
  connect_button_->setMinimumWidth(connect_button_->sizeHint().width());
  connection_lamp_ = new Lamp(QStringLiteral("Connection"));

  auto* device_label = new QLabel(QStringLiteral("Connection:"));
  device_selector_ = new DeviceSelector;
  device_selector_->setAccessibleName(device_label->text());
  device_label->setBuddy(device_selector_);

  // Which logger answers, whatever the phone book entry chosen says.
  answering_label_ = new QLabel;
  answering_label_->setAccessibleDescription(
      QStringLiteral("Station ID of the logger's last status reply"));
  answering_label_->setToolTip(answering_label_->accessibleDescription());

  // A batch goes on to the next logger on the cable: the simulator can swap it.
  next_logger_button_ = new QPushButton(QStringLiteral("Next Logger"));
  next_logger_button_->setToolTip(
      QStringLiteral("Simulator: unplug this logger and plug in the next one"));
  next_logger_button_->setAutoDefault(false);
  next_logger_button_->hide();

  auto* grid = new QGridLayout(box);
  grid->addWidget(rs232_radio_, 0, 0);
  grid->addWidget(gsm_radio_, 0, 1);
  grid->addWidget(next_logger_button_, 0, 2);
  grid->addWidget(port_label, 1, 0);
  grid->addWidget(port_combo_, 1, 1);
  grid->addWidget(connect_button_, 1, 2);
  grid->addWidget(connection_lamp_, 1, 3);
  grid->addWidget(device_label, 2, 0);
  grid->addWidget(device_selector_, 2, 1);
  grid->addWidget(answering_label_, 2, 2, 1, 2);
  return box;
}

QWidget* CDataLoggerSetupDlg::BuildReadParameters() {
  auto* box = new QGroupBox(QStringLiteral("Read Parameters"));
  for (int group = 1; group <= 3; ++group) {
    group_buttons_[group - 1] = new ImageButton(QStringLiteral("#%1").arg(group));
  }
  status_button_ = new ImageButton(QStringLiteral("Status"));
  clear_button_ = new ImageButton(QStringLiteral("Clear"));
  version_button_ = new ImageButton(QStringLiteral("Ver"));
  init_button_ = new ImageButton(QStringLiteral("Init"));
  batch_button_ = new ImageButton(QStringLiteral("Batch"));
  modem_version_button_ = new ImageButton(QStringLiteral("M ver"));
  read_all_button_ = new ImageButton(QStringLiteral("Read All"));
  read_all_button_->setToolTip(QStringLiteral("Status, #1, #2 and #3 one after the other"));

  progress_bar_ = new QProgressBar;
  progress_bar_->setRange(0, 100);
  progress_bar_->setTextVisible(false);
  progress_bar_->setAccessibleName(QStringLiteral("Command progress"));
  // Its text, the count-down, is also its accessible name.
  stop_button_ = new QPushButton;
  stop_button_->setAccessibleDescription(QStringLiteral("Stops waiting for the reply"));
  stop_button_->setAutoDefault(false);
  KeepPlaceWhenHidden(progress_bar_);
  KeepPlaceWhenHidden(stop_button_);

  auto* grid = new QGridLayout(box);
  const QList<QPushButton*> first_row = {group_buttons_[0], group_buttons_[1], group_buttons_[2],
                                         status_button_, clear_button_};
  for (int column = 0; column < first_row.size(); ++column) {
    grid->addWidget(first_row[column], 0, column);
  }
  grid->addWidget(version_button_, 1, 0);
  grid->addWidget(batch_button_, 1, 1);
  // One route shows Init, the other M ver: they share a place.
  grid->addWidget(init_button_, 1, 2);
  grid->addWidget(modem_version_button_, 1, 2);
  grid->addWidget(read_all_button_, 1, 3, 1, 2);
  grid->addWidget(progress_bar_, 2, 0, 1, 4);
  grid->addWidget(stop_button_, 2, 4);
  return box;
}

QWidget* CDataLoggerSetupDlg::BuildTitleBlock() {
  auto* block = new QWidget;
  auto* title = new QLabel(QStringLiteral("Vexa-T_Setup"));
  // Larger, not bold: a bold face is one more font file to load at start-up.
  QFont title_font = title->font();
  title_font.setPointSizeF(title_font.pointSizeF() * 1.5);
  title->setFont(title_font);
  auto* version = new QLabel(QStringLiteral("Version 1.0.1"));

  // The result is the label's text and so its accessible name, which a screen
  // reader is told of whenever it changes.
  status_text_ = new QLabel;
  status_text_->setAccessibleDescription(QStringLiteral("Command status"));
  status_text_->setMinimumWidth(
      status_text_->fontMetrics().horizontalAdvance(QStringLiteral("Communication Error  ")));
  status_text_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  command_lamp_ = new Lamp(QStringLiteral("Command"));
  station_warning_ = new QLabel;
  station_warning_->setAccessibleDescription(QStringLiteral("Warning about the logger answering"));
  station_warning_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  station_warning_->setWordWrap(true);
  station_warning_->setStyleSheet(QStringLiteral("color: #c00000"));
  station_warning_->hide();
  // Linux window managers offer no system menu entry for the About box.
  help_button_ = new QPushButton(QStringLiteral("Help"));
  help_button_->setAutoDefault(false);

  auto* status_row = new QHBoxLayout;
  status_row->addWidget(status_text_, 1);
  status_row->addWidget(command_lamp_);
  auto* layout = new QVBoxLayout(block);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(title, 0, Qt::AlignRight);
  layout->addWidget(version, 0, Qt::AlignRight);
  layout->addStretch(1);
  layout->addWidget(station_warning_);
  layout->addLayout(status_row);
  layout->addWidget(help_button_, 0, Qt::AlignRight);
  return block;
}

void CDataLoggerSetupDlg::BuildTabs(QWidget* content) {
  top_tabs_ = new QTabBar;
  top_tabs_->setAccessibleName(QStringLiteral("Views"));
  top_tabs_->setExpanding(false);
  top_tabs_->setIconSize(QSize(15, 15));
  top_tabs_->addTab(QStringLiteral("Phone Book  "));
  top_tabs_->addTab(QStringLiteral("Vexa-T  "));
  top_tabs_->addTab(QStringLiteral("Data Logs   "));

  phone_book_tab_ = new CMyTabCtrl1(phone_book_, notifier_);

  const vexa::PageContext context{exchange_, phone_book_, command_buffer_, serial_port_, notifier_};
  device_sheet_ = new CTabSheet;
  device_sheet_->setAccessibleName(QStringLiteral("Device pages"));
  const auto add = [this, context](const QString& caption, auto make) {
    device_sheet_->AddPage(caption, [this, context, make] { return make(context, device_sheet_); });
  };
  add(QStringLiteral("    Device Setup   "),
      [](auto context, auto* sheet) { return new CTarvoKSet1Dlg(context, sheet); });
  add(QStringLiteral("   Analog Channel   "),
      [](auto context, auto* sheet) { return new CTarvoKSet2Dlg1(context, sheet); });
  add(QStringLiteral(" Digital Channel "),
      [](auto context, auto* sheet) { return new CTarvoKSet3Dlg(context, sheet); });
  add(QStringLiteral("  Relay Output  "),
      [](auto context, auto* sheet) { return new CTarvoKSet4Dlg(context, sheet); });
  add(QStringLiteral(" AD Alarm Message "),
      [](auto context, auto* sheet) { return new CTarvoKSet5Dlg(context, sheet); });
  add(QStringLiteral(" IN Alarm Message "),
      [](auto context, auto* sheet) { return new CTarvoKSet5Dlg2(context, sheet); });
  add(QStringLiteral("  Data Record  "),
      [](auto context, auto* sheet) { return new CSet3(context, sheet); });
  add(QStringLiteral("  Batch Setup  "), [this](auto context, auto* sheet) {
    auto* page = new CBatchInitDlg(context, read_all_, snapshots_, sheet);
    page->SetBatchEnabled(transport_mode_ != vexa::TransportMode::kGsmModem);
    return page;
  });

  data_log_area_ = new QWidget;
  data_log_box_ = new DataLogBox;
  data_log_box_->setAccessibleName(QStringLiteral("Data logs"));
  data_log_box_->ShowHeader(std::time(nullptr));
  buffer_clear_button_ = new QPushButton(QStringLiteral("Buffer Clear"));
  buffer_clear_button_->setAutoDefault(false);
  auto* log_layout = new QVBoxLayout(data_log_area_);
  log_layout->setContentsMargins(0, 0, 0, 0);
  log_layout->addWidget(data_log_box_, 1);
  log_layout->addWidget(buffer_clear_button_, 0, Qt::AlignRight);

  auto* layout = static_cast<QVBoxLayout*>(content->layout());
  layout->addSpacing(4);
  layout->addWidget(top_tabs_);
  layout->setSpacing(0);
  for (QWidget* view : {static_cast<QWidget*>(phone_book_tab_),
                        static_cast<QWidget*>(device_sheet_), data_log_area_}) {
    layout->addWidget(view, 1);
  }
  content->setMinimumSize(1000, 730);
  top_tabs_->setCurrentIndex(kDeviceTab);
  ShowTopTab(kDeviceTab);
}

void CDataLoggerSetupDlg::ConnectHandlers() {
  connect(connect_button_, &QPushButton::clicked, this, [this] { OnConnectClicked(); });
  connect(next_logger_button_, &QPushButton::clicked, this, [this] { PlugInNextLogger(); });
  // Whatever checks a radio button, a click, a key or an accessibility action,
  // sets the route.
  connect(rs232_radio_, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) OnTransportChosen(vexa::TransportMode::kRs232);
  });
  connect(gsm_radio_, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) OnTransportChosen(vexa::TransportMode::kGsmModem);
  });
  connect(device_selector_, &DeviceSelector::aboutToShowPopup, this,
          [this] { RefillDeviceSelector(); });
  connect(device_selector_, &QComboBox::activated, this,
          [this](int index) { OnDeviceChosen(index); });
  for (int group = 1; group <= 3; ++group) {
    connect(group_buttons_[group - 1], &QPushButton::clicked, this,
            [this, group] { commands_.ReadGroup(group); });
  }
  connect(status_button_, &QPushButton::clicked, this, [this] { commands_.ReadStatus(); });
  connect(read_all_button_, &QPushButton::clicked, this, [this] { OnReadAllClicked(); });
  connect(clear_button_, &QPushButton::clicked, this, [this] { commands_.Clear(); });
  connect(version_button_, &QPushButton::clicked, this, [this] { commands_.ReadVersion(); });
  connect(init_button_, &QPushButton::clicked, this, [this] { OnInitClicked(); });
  connect(batch_button_, &QPushButton::clicked, this, [this] { commands_.BatchOrModemTest(); });
  connect(modem_version_button_, &QPushButton::clicked, this, [this] { commands_.ModemVersion(); });
  connect(stop_button_, &QPushButton::clicked, this, [this] { exchange_.RequestStop(); });
  connect(buffer_clear_button_, &QPushButton::clicked, data_log_box_, &DataLogBox::Clear);
  connect(help_button_, &QPushButton::clicked, this, [this] { ShowAbout(); });
  connect(top_tabs_, &QTabBar::currentChanged, this, [this](int index) { ShowTopTab(index); });
  connect(phone_book_tab_->page(), &CSet4::HistoryRequested, this,
          [this](const QString& id) { ShowHistory(id); });
  connect(&command_timer_, &QTimer::timeout, this, [this] { TickCommand(); });
}

void CDataLoggerSetupDlg::FitToScreen(const QRect& available) {
  // 1024 x 768 where the screen allows it; on smaller screens (1024 x 720,
  // 1280 x 600, 800 x 600, or any other) the window fills the screen in that
  // direction and its content scrolls. A window larger than the screen would
  // leave controls out of reach.
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint;
  if (available.height() <= 720) flags |= Qt::WindowMaximizeButtonHint;
  if (windowFlags() != flags) {
    const bool shown = isVisible();
    setWindowFlags(flags);  // hides the window
    if (shown) show();
  }
  fitted_frame_ = QRect(available.topLeft(), QSize(1024, 768).boundedTo(available.size()));
  ApplyFit();
}

void CDataLoggerSetupDlg::ApplyFit() {
  fitted_margins_ = FrameMargins();
  resize(fitted_frame_.size().shrunkBy(fitted_margins_));
  move(fitted_frame_.topLeft());  // the frame's corner
}

QMargins CDataLoggerSetupDlg::FrameMargins() const {
  const QRect frame = frameGeometry();
  const QRect inside = geometry();
  return {inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
          frame.bottom() - inside.bottom()};
}

void CDataLoggerSetupDlg::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // The window manager frames the window only after it is shown: then the
  // window is fitted again with the real frame.
  if (!fitted_frame_.isNull() && !isMaximized() && FrameMargins() != fitted_margins_) {
    QMetaObject::invokeMethod(
        this, [this] { ApplyFit(); }, Qt::QueuedConnection);
  }
}

void CDataLoggerSetupDlg::TickCommand() {
  if (!exchange_.Tick()) command_timer_.stop();
}

// --- Connection ---------------------------------------------------------------------------

void CDataLoggerSetupDlg::OnConnectClicked() {
  if (serial_port_.IsPortOpen()) {
    if (exchange_.busy()) {
      notifier_.Show("Command is Progress , Don't Disconnect!");
      return;
    }
    exchange_.device_context().humidity_calibrated = false;
    CloseLink();
    ShowConnected(false);
    return;
  }
  const QString port_text = port_combo_->currentText().trimmed();
  if (port_text.isEmpty()) {
    notifier_.Show("Before Connect ,please select COM Port!");
    return;
  }
  if (const std::string refusal = OpenLink(port_text); !refusal.empty()) {
    CloseLink();
    DataLogEntry("The port cannot be used: " + refusal);
    notifier_.Show("Connect Error,Port Invalid!");
    return;
  }
  exchange_.set_transport_mode(transport_mode_);
  ShowConnected(true);
}

std::string CDataLoggerSetupDlg::OpenLink(const QString& port_text) {
  // A lost-port notice still queued from the connection before is not about this one.
  ++link_generation_;
  vexa::sim::SimulatorOptions options = simulator_options_;
  options.gsm = transport_mode_ == vexa::TransportMode::kGsmModem;
  return vexa::OpenNamedPort(serial_port_, QFile::encodeName(port_text).toStdString(), options,
                             simulator_);
}

void CDataLoggerSetupDlg::CloseLink() {
  serial_port_.ClosePort();
  simulator_.reset();
  // Notices the receive thread posted before this are about a port now closed.
  ++link_generation_;
}

void CDataLoggerSetupDlg::OnLinkLost(int generation) {
  if (generation != link_generation_) return;  // a notice about an earlier connection
  exchange_.ConnectionLost();
  exchange_.device_context().humidity_calibrated = false;
  CloseLink();
  ShowConnected(false);
  notifier_.Show("Connection lost: the port was closed.");
}

void CDataLoggerSetupDlg::ShowConnected(bool connected) {
  connect_button_->setText(connected ? QStringLiteral("Disconnect") : QStringLiteral("Connect"));
  connection_lamp_->SetLit(connected);
  // The route cannot change while connected.
  rs232_radio_->setEnabled(!connected);
  gsm_radio_->setEnabled(!connected);
  next_logger_button_->setVisible(connected && simulator_ &&
                                  transport_mode_ == vexa::TransportMode::kRs232);
}

void CDataLoggerSetupDlg::PlugInNextLogger() {
  if (!simulator_) return;
  DataLogEntry("Simulator: logger " + simulator_->PlugInNextLogger() + " is now on the cable");
}

void CDataLoggerSetupDlg::OnTransportChosen(vexa::TransportMode mode) {
  transport_mode_ = mode;
  // The radios are disabled while connected, so this never changes the route of a link.
  exchange_.set_transport_mode(mode);
  const bool gsm = mode == vexa::TransportMode::kGsmModem;
  init_button_->setVisible(!gsm);
  batch_button_->setText(gsm ? QStringLiteral("M test") : QStringLiteral("Batch"));
  modem_version_button_->setVisible(gsm);
  // Batches run on the RS232 route only; a page not built yet learns the route when it is.
  if (device_sheet_->built(vexa::kBatchSetupPage)) BatchPage()->SetBatchEnabled(!gsm);
}

// --- Commands -----------------------------------------------------------------------------

void CDataLoggerSetupDlg::OnInitClicked() {
  commands_.Init(QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier));
}

void CDataLoggerSetupDlg::OnReadAllClicked() {
  // Set first: a sequence that cannot start on a closed port ends inside Start.
  read_all_step_ = vexa::ReadAllStep{1, vexa::ReadAll::kCommandCount, "Status"};
  const bool started =
      read_all_.Start([this](const vexa::ReadAllOutcome& outcome) { ReadAllFinished(outcome); },
                      [this](const vexa::ReadAllStep& step) {
                        read_all_step_ = step;
                        ProgressChanged();
                      });
  if (!started) read_all_step_.reset();
}

void CDataLoggerSetupDlg::ReadAllFinished(const vexa::ReadAllOutcome& /*outcome*/) {
  // The last command's result stays on show: "Command Success" when all four did.
  read_all_step_.reset();
  ProgressChanged();
}

void CDataLoggerSetupDlg::RefillDeviceSelector() {
  QStringList ids;
  for (const vexa::PhoneBookEntry& entry : phone_book_.entries()) ids << vexa::FromLatin1(entry.id);
  device_selector_->Fill(ids);
}

void CDataLoggerSetupDlg::OnDeviceChosen(int index) {
  commands_.SelectDevice(vexa::Latin1(device_selector_->itemText(index)));
  // A refused choice is not left on show: the list shows the device the
  // commands go to, if any.
  const QString current = vexa::FromLatin1(phone_book_.GetCurrentDevice().id);
  device_selector_->setCurrentIndex(current.isEmpty() ? -1 : device_selector_->findText(current));
  ShowAnsweringLogger();
}

void CDataLoggerSetupDlg::ShowAnsweringLogger() {
  const std::string chosen = phone_book_.GetCurrentDevice().id;
  const bool other = !answering_id_.empty() && !chosen.empty() && answering_id_ != chosen;
  answering_label_->setText(
      answering_id_.empty() ? QString()
                            : QStringLiteral("Answering: %1").arg(vexa::FromLatin1(answering_id_)));
  answering_label_->setStyleSheet(other ? QStringLiteral("color: #c00000") : QString());
  station_warning_->setText(
      other ? QStringLiteral("Logger %1 is answering, not %2")
                  .arg(vexa::FromLatin1(answering_id_), vexa::FromLatin1(chosen))
            : QString());
  station_warning_->setVisible(other);
}

void CDataLoggerSetupDlg::ShowHistory(const QString& id) {
  const std::string station_id = vexa::Latin1(id);
  auto* list = new SnapshotListDialog(station_id, snapshots_.history().List(station_id), this);
  list->setAttribute(Qt::WA_DeleteOnClose);
  connect(list, &QDialog::accepted, this, [this, list, station_id] {
    // The review writes through the batch: its page shows the run.
    top_tabs_->setCurrentIndex(kDeviceTab);
    device_sheet_->SetActivePage(vexa::kBatchSetupPage);
    BatchPage()->CompareWithSnapshot(station_id, *list->chosen());
  });
  list->open();
}

// --- Views --------------------------------------------------------------------------------

void CDataLoggerSetupDlg::ShowTopTab(int index) {
  QWidget* const views[] = {phone_book_tab_, device_sheet_, data_log_area_};
  QWidget* const shown = views[index];
  for (QWidget* view : views) {
    // The incoming view takes the place of the one it replaces before it
    // shows, so that its page sees its real size from its first show on.
    if (view->isVisible() && view != shown) shown->setGeometry(view->geometry());
  }
  for (QWidget* view : views) view->setVisible(view == shown);
  const QIcon unselected(ResourceImage(QStringLiteral("tab_unselected")));
  const QIcon selected(ResourceImage(QStringLiteral("tab_selected")));
  for (int tab = 0; tab < top_tabs_->count(); ++tab) {
    top_tabs_->setTabIcon(tab, tab == index ? selected : unselected);
  }
}

void CDataLoggerSetupDlg::ShowAbout() {
  CAboutDlg about(this);
  about.exec();
}

// --- Notifications from the exchange -----------------------------------------------------

void CDataLoggerSetupDlg::Group1Reply(const std::string& reply) {
  DevicePage<CTarvoKSet1Dlg>(vexa::kDeviceSetupPage)->ReadGroup1Reply(reply);
  DevicePage<CTarvoKSet4Dlg>(vexa::kRelayOutputPage)->ReadGroup1Reply(reply);
}

void CDataLoggerSetupDlg::Group2Reply(const std::string& reply) {
  DevicePage<CTarvoKSet2Dlg1>(vexa::kAnalogChannelPage)->ReadGroup2Reply(reply);
  DevicePage<CTarvoKSet3Dlg>(vexa::kDigitalChannelPage)->ReadGroup2Reply(reply);
}

void CDataLoggerSetupDlg::Group3Reply(const std::string& reply) {
  DevicePage<CTarvoKSet4Dlg>(vexa::kRelayOutputPage)->ReadGroup3Reply(reply);
}

void CDataLoggerSetupDlg::InfoText(const std::string& text) {
  DevicePage<CTarvoKSet1Dlg>(vexa::kDeviceSetupPage)->ShowInfo(text);
}

void CDataLoggerSetupDlg::FirstStatusReply(const std::string& /*reply*/) {
  // The pages read the input and relay counts from the device context.
  DevicePage<CTarvoKSet2Dlg1>(vexa::kAnalogChannelPage)->FirstStatusReply();
  DevicePage<CTarvoKSet3Dlg>(vexa::kDigitalChannelPage)->FirstStatusReply();
  DevicePage<CTarvoKSet4Dlg>(vexa::kRelayOutputPage)->FirstStatusReply();
}

void CDataLoggerSetupDlg::LaterStatusReply(const std::string& reply) {
  DevicePage<CTarvoKSet4Dlg>(vexa::kRelayOutputPage)->LaterStatusReply(reply);
  DevicePage<CSet3>(vexa::kDataRecordPage)->StatusReply(reply);
}

void CDataLoggerSetupDlg::CurrentReadingsReply(const std::string& reply) {
  DevicePage<CSet3>(vexa::kDataRecordPage)->StatusReply(reply);
}

void CDataLoggerSetupDlg::StoredRecordsReply(const std::string& reply) {
  DevicePage<CSet3>(vexa::kDataRecordPage)->StoredRecordsReply(reply);
}

void CDataLoggerSetupDlg::CalibrationReply(const std::string& reply) {
  DevicePage<CTarvoKSet2Dlg1>(vexa::kAnalogChannelPage)->CalibrationReply(reply);
}

void CDataLoggerSetupDlg::AlarmTextReply(const std::string& reply) {
  DevicePage<CTarvoKSet5Dlg>(vexa::kAnalogAlarmPage)->AlarmTextReply(reply);
  DevicePage<CTarvoKSet5Dlg2>(vexa::kInputAlarmPage)->AlarmTextReply(reply);
}

void CDataLoggerSetupDlg::ClearPages() {
  DevicePage<CTarvoKSet1Dlg>(vexa::kDeviceSetupPage)->ClearPage();
  DevicePage<CTarvoKSet2Dlg1>(vexa::kAnalogChannelPage)->ClearPage();
  DevicePage<CTarvoKSet3Dlg>(vexa::kDigitalChannelPage)->ClearPage();
  DevicePage<CTarvoKSet4Dlg>(vexa::kRelayOutputPage)->ClearPage();
  DevicePage<CTarvoKSet5Dlg>(vexa::kAnalogAlarmPage)->ClearPage();
  DevicePage<CTarvoKSet5Dlg2>(vexa::kInputAlarmPage)->ClearPage();
  DevicePage<CSet3>(vexa::kDataRecordPage)->ClearPage();
}

void CDataLoggerSetupDlg::SelectDevicePage(int index) {
  // While the Batch Setup page reads the logger (back), its run stays in view.
  if (device_sheet_->currentIndex() == vexa::kBatchSetupPage && BatchPage()->busy()) return;
  device_sheet_->SetActivePage(index);
}

void CDataLoggerSetupDlg::PhoneBookChanged() {
  phone_book_tab_->page()->PhoneBookChanged();
}

void CDataLoggerSetupDlg::DeviceIdChanged(const std::string& new_id) {
  // The logger took the new ID: it answers with it from now on.
  answering_id_ = new_id;
  // New entries come first, so the first ID is the new one.
  device_selector_->setCurrentIndex(-1);
  RefillDeviceSelector();
  device_selector_->setCurrentIndex(device_selector_->count() > 0 ? 0 : -1);
  ShowAnsweringLogger();
}

void CDataLoggerSetupDlg::BatchRefresh(bool set_band_flag) {
  BatchPage()->Refresh(set_band_flag);
}

void CDataLoggerSetupDlg::BatchResult(const std::string& status_text) {
  BatchPage()->BatchResult(status_text);
}

void CDataLoggerSetupDlg::DataLogEntry(const std::string& text) {
  data_log_box_->Prepend(text, std::time(nullptr));
}

void CDataLoggerSetupDlg::CommandFinished(const vexa::FinishedCommand& finished) {
  snapshots_.CommandFinished(finished, phone_book_.GetCurrentDevice().setup_password,
                             exchange_.device_context().relay_count, std::time(nullptr));
  const bool status =
      finished.code == vexa::kSelectStatusCode || finished.code == vexa::kStatusCode;
  if (status && !finished.reply.empty()) {
    answering_id_ = vexa::StatusStationId(finished.reply);
    ShowAnsweringLogger();
    // Told in the data log as the warning appears, not at every status reply.
    const std::string chosen = phone_book_.GetCurrentDevice().id;
    const std::string warning = vexa::Latin1(station_warning_->text());
    const bool told = warning == logged_warning_;
    logged_warning_ = warning;
    if (!warning.empty() && !told) {
      DataLogEntry("Warning: logger " + answering_id_ + " answered the status query, not " +
                   chosen + " as chosen under Connection: another logger is on the line.");
    }
  }
  // Last: the sequence may send its next command from here.
  read_all_.CommandFinished(finished);
}

void CDataLoggerSetupDlg::ProgressChanged() {
  const vexa::ProgressDisplay& progress = exchange_.progress();
  progress_bar_->setVisible(progress.visible);
  stop_button_->setVisible(progress.visible);
  // Read All shows one progress across its four commands.
  const vexa::ReadAllStep* step = progress.visible && read_all_step_ ? &*read_all_step_ : nullptr;
  progress_bar_->setValue(step ? ((step->number - 1) * 100 + progress.bar) / step->total
                               : progress.bar);
  stop_button_->setText(vexa::FromLatin1(progress.stop_text));
  status_text_->setText(step ? QStringLiteral("Read All: %1, %2 of %3")
                                   .arg(vexa::FromLatin1(step->name))
                                   .arg(step->number)
                                   .arg(step->total)
                             : vexa::FromLatin1(progress.status_text));
  command_lamp_->SetLit(progress.lamp_lit);
  if (!progress.visible) {
    command_timer_.stop();
  } else if (!command_timer_.isActive()) {
    command_timer_.start();
  }
}
