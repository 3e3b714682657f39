#pragma once

#include <QMargins>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "history/snapshot_keeper.h"
#include "link/command_buffer.h"
#include "link/command_exchange.h"
#include "link/exchange_listener.h"
#include "link/main_window_commands.h"
#include "link/read_all.h"
#include "link/serial_port.h"
#include "link/setup_log.h"
#include "notifier/notifier.h"
#include "phonebook/phone_book_store.h"
#include "sim/simulator_session.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabBar;
class CBatchInitDlg;
class CMyTabCtrl1;
class CSet3;
class CTabSheet;
class CTarvoKSet1Dlg;
class CTarvoKSet2Dlg1;
class CTarvoKSet3Dlg;
class CTarvoKSet4Dlg;
class CTarvoKSet5Dlg;
class CTarvoKSet5Dlg2;
class DataLogBox;
class DeviceSelector;
class Lamp;

// The program's only window: the connection bar, the read buttons, the
// progress and result of the command in flight, and below them the phone
// book, the device pages or the data log. It owns the program-wide objects
// and hands them to every page.
class CDataLoggerSetupDlg : public QWidget, public vexa::ExchangeListener {
  Q_OBJECT

 public:
  // The program's window uses the phone book "./addressbook.xml"; tests hand
  // in another file and a notifier that records the messages.
  CDataLoggerSetupDlg(vexa::Notifier& notifier, std::string phone_book_path,
                      QWidget* parent = nullptr);
  ~CDataLoggerSetupDlg() override;

  // Fits the whole window, frame and title bar included, into this free area
  // of a screen; the content scrolls where the window is smaller than it.
  void FitToScreen(const QRect& available);
  // One 100 ms tick of the command in flight; the timer calls it.
  void TickCommand();
  // What the Simulator port entry starts; tests shorten its delays.
  void set_simulator_options(const vexa::sim::SimulatorOptions& options) {
    simulator_options_ = options;
  }
  // The simulator on the line, null on any other port; tests change the
  // logger behind the window's back through it.
  vexa::sim::SimulatorSession* simulator() const { return simulator_.get(); }

  // vexa::ExchangeListener
  void Group1Reply(const std::string& reply) override;
  void Group2Reply(const std::string& reply) override;
  void Group3Reply(const std::string& reply) override;
  void InfoText(const std::string& text) override;
  void FirstStatusReply(const std::string& reply) override;
  void LaterStatusReply(const std::string& reply) override;
  void CurrentReadingsReply(const std::string& reply) override;
  void StoredRecordsReply(const std::string& reply) override;
  void CalibrationReply(const std::string& reply) override;
  void AlarmTextReply(const std::string& reply) override;
  void ClearPages() override;
  void SelectDevicePage(int index) override;
  void PhoneBookChanged() override;
  void DeviceIdChanged(const std::string& new_id) override;
  void BatchRefresh(bool set_band_flag) override;
  void BatchResult(const std::string& status_text) override;
  void DataLogEntry(const std::string& text) override;
  void ProgressChanged() override;
  void CommandFinished(const vexa::FinishedCommand& finished) override;

 protected:
  void moveEvent(QMoveEvent* event) override;

 private:
  void ApplyFit();
  // The window manager's frame around the window; none until it has framed it.
  QMargins FrameMargins() const;
  QWidget* BuildConnectionBar();
  QWidget* BuildReadParameters();
  QWidget* BuildTitleBlock();
  void BuildTabs(QWidget* content);
  void ConnectHandlers();

  void OnConnectClicked();
  // Empty once the link is open, else why not.
  std::string OpenLink(const QString& port_text);
  void CloseLink();
  void ShowConnected(bool connected);
  void OnLinkLost(int generation);
  void PlugInNextLogger();
  void OnTransportChosen(vexa::TransportMode mode);
  // The device page at `index`, built the first time it is shown or handed something.
  template <typename Page>
  Page* DevicePage(int index);
  CBatchInitDlg* BatchPage();
  void OnInitClicked();
  void OnReadAllClicked();
  void ReadAllFinished(const vexa::ReadAllOutcome& outcome);
  // The station ID of the last status reply beside "Connection:", and a
  // warning when another logger than the one chosen answers.
  void ShowAnsweringLogger();
  void ShowHistory(const QString& id);
  void OnDeviceChosen(int index);
  void RefillDeviceSelector();
  void ShowTopTab(int index);
  void ShowAbout();

  // The program-wide objects; they outlive every widget.
  vexa::Notifier& notifier_;
  vexa::PhoneBookStore phone_book_;
  vexa::SnapshotKeeper snapshots_;
  vexa::CommandBuffer command_buffer_;
  vexa::SetupLog setup_log_;
  vexa::SerialPort serial_port_;
  vexa::CommandExchange exchange_;
  vexa::MainWindowCommands commands_;
  vexa::ReadAll read_all_{commands_, exchange_, phone_book_};
  vexa::sim::SimulatorOptions simulator_options_;
  std::unique_ptr<vexa::sim::SimulatorSession> simulator_;
  vexa::TransportMode transport_mode_ = vexa::TransportMode::kRs232;
  // Counts every open and close, so that a lost-port notice of an earlier
  // connection is ignored. The receive thread reads it.
  std::atomic<int> link_generation_ = 0;
  QTimer command_timer_;
  // The command of the Read All button's sequence in flight; none while that
  // button's sequence is not running.
  std::optional<vexa::ReadAllStep> read_all_step_;
  // The station ID the last status reply answered with; empty before one.
  std::string answering_id_;
  // The warning about it last told in the data log; empty while there is none.
  std::string logged_warning_;
  // Where the window's frame goes, and the frame it was sized for.
  QRect fitted_frame_;
  QMargins fitted_margins_;

  // Every widget lives under this one, deleted first.
  std::unique_ptr<QScrollArea> scroll_area_;
  QRadioButton* rs232_radio_ = nullptr;
  QRadioButton* gsm_radio_ = nullptr;
  QComboBox* port_combo_ = nullptr;
  QPushButton* connect_button_ = nullptr;
  Lamp* connection_lamp_ = nullptr;
  DeviceSelector* device_selector_ = nullptr;
  QLabel* answering_label_ = nullptr;
  QPushButton* next_logger_button_ = nullptr;  // the simulator on the cable only
  QPushButton* group_buttons_[3] = {};
  QPushButton* status_button_ = nullptr;
  QPushButton* read_all_button_ = nullptr;
  QPushButton* clear_button_ = nullptr;
  QPushButton* version_button_ = nullptr;
  QPushButton* init_button_ = nullptr;
  QPushButton* batch_button_ = nullptr;
  QPushButton* modem_version_button_ = nullptr;
  QProgressBar* progress_bar_ = nullptr;
  QPushButton* stop_button_ = nullptr;
  QLabel* status_text_ = nullptr;
  QLabel* station_warning_ = nullptr;
  Lamp* command_lamp_ = nullptr;
  QPushButton* help_button_ = nullptr;
  QTabBar* top_tabs_ = nullptr;
  CMyTabCtrl1* phone_book_tab_ = nullptr;
  CTabSheet* device_sheet_ = nullptr;
  QWidget* data_log_area_ = nullptr;
  DataLogBox* data_log_box_ = nullptr;
  QPushButton* buffer_clear_button_ = nullptr;
};
