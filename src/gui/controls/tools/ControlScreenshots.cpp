// Draws the ERP's controls and dialogs in their interesting states to PNG files, on a temporary
// stand-in site and without a display:
//
//   control_screenshots [FOLDER]      (default build/screenshots)

#include "gui/controls/ApplicationLook.h"
#include "gui/controls/ControlServices.h"
#include "gui/controls/ErrorListDialog.h"
#include "gui/controls/FieldEditWidget.h"
#include "gui/controls/FilterWindowDialog.h"
#include "gui/controls/GridWidget.h"
#include "gui/controls/QtSignonDialog.h"
#include "gui/controls/tools/ScreenshotTool.h"
#include "gui/controls/tools/WindowComposer.h"

#include "app/Layout.h"
#include "grids/TaxAuthorityGrid.h"
#include "grids/TaxGroupGrid.h"
#include "host/standin/StandinHost.h"

#include "standin/sample/CompanyGenerator.h"
#include "standin/sample/SiteFolder.h"
#include "standin/site/SiteDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <iostream>

namespace {

namespace fs = std::filesystem;
using namespace gui::controls;

/// A stand-in site in the temp folder: SAMLTD with sample customers and the sample tax
/// services, SAMWST, and user ADMIN (password "admin") who may use both.
class TemporarySite {
 public:
  TemporarySite()
      : folder_(fs::temp_directory_path() / ("ordavel-screenshots-" + std::to_string(::getpid()))) {
    fs::remove_all(folder_);
    setenv("ORDAVEL_REGISTRY", (folder_ / "registry").c_str(), 1);
    erp::generateCompany(folder_, {"SAMLTD", "Sample Company Limited", {{"customers", 300}}});
    erp::generateCompany(folder_, {"SAMWST", "Sample Western Ltd.", {}});
    erp::SiteDatabase site{erp::SiteLayout(SharedData())};
    site.addUser("ADMIN", "Administrator", "admin", erp::HashCost::kMinimal);
    site.grantCompany("ADMIN", "SAMLTD");
    site.grantCompany("ADMIN", "SAMWST");
  }
  ~TemporarySite() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  TemporarySite(const TemporarySite&) = delete;
  TemporarySite& operator=(const TemporarySite&) = delete;

  fs::path SharedData() const { return erp::sharedDataOf(folder_); }
  fs::path Registry() const { return folder_ / "registry"; }
  /// The sign-on dialog's memory, so that the pictures never show the developer's own.
  QString SignonSettings() const {
    return QString::fromStdString((folder_ / "signon.ini").string());
  }

 private:
  fs::path folder_;
};

/// Runs `step` on the next modal dialog once it shows.
void WhenModal(std::function<void(QDialog&)> step) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, step = std::move(step)] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    QCoreApplication::processEvents();
    step(*dialog);
  });
  poll->start();
}

void Settle() {
  for (int round = 0; round < 3; ++round) QCoreApplication::processEvents();
}

/// The program's windows with the stand-in behind them, signed on to SAMLTD.
class Screens {
 public:
  explicit Screens(fs::path folder) : folder_(std::move(folder)) {
    fs::create_directories(folder_);
  }

  void SignOnWithARefusal() {
    WhenModal([this](QDialog&) {
      signon_.UserID().setText("ADMIN");
      signon_.Password().setText("secret");
      WhenModal([this](QDialog&) {
        Save({&signon_}, "signon-refusal.png");
        signon_.Password().setText("admin");
        signon_.accept();
      });
      signon_.accept();
    });
    if (!connection_.Logon(convert::kProgramId, 0)) throw std::runtime_error("cannot sign on");
  }

  void FieldEditWithFinder() {
    QWidget form;
    form.setWindowTitle("SAMLTD - Ordavel");
    auto customers = Open("AR0024");
    host::FieldEditControl from;
    host::FieldEditControl to;
    DefineCustomerRange(from, *customers, "");
    DefineCustomerRange(to, *customers, "Z");
    to.DefineButton(0, 1, "Additional Criteria");
    to.SetButtonCount(1);
    // The customers' row of the receivables section, placed as the main window places it.
    auto place = [&form](QWidget* widget, int left, int top, int width, int height) {
      widget->setGeometry(TwipsToPixels(QRect(left, top, width, height), form));
    };
    place(new QLabel("From", &form), 3255, 150, 1000, 300);
    place(new QLabel("To", &form), 7200, 150, 1000, 300);
    place(new QCheckBox("Convert &Customers", &form), 75, 450, 3015, 315);
    auto* fromWidget = new FieldEditWidget(from, services_, &form);
    place(fromWidget, 3255, 450, 3765, 315);
    place(new FieldEditWidget(to, services_, &form), 7200, 450, 3765, 315);
    form.resize(TwipsToPixels(11115, form), TwipsToPixels(900, form));
    form.move(40, 60);
    form.show();
    fromWidget->setFocus();
    fromWidget->OpenFinder();
    // The finder opens over the control; moved below it, both can be seen.
    fromWidget->OpenedFinder()->move(form.x() + 24, form.y() + form.height() + 56);
    Settle();
    Save({&form, fromWidget->OpenedFinder()}, "field-edit-finder.png");
    fromWidget->OpenedFinder()->reject();
  }

  /// A from or to tax-group mapping with its control and grid, set up as start-up does.
  struct Mapping {
    Mapping(Screens& screens, host::DataSource& groups, host::DataSource& classes,
            const std::string& caption)
        : mapping(screens.hostServices_.newErrorDisplay) {
      mapping.Name("Customer Taxes");
      mapping.Grid(&grid);
      mapping.adsTXGRP(&groups);
      mapping.afecTaxGroup(&taxGroup);
      mapping.Caption(caption);
      mapping.TransactionType(1);
      mapping.adsTXCLASS(&classes);
      mapping.AddTaxClassColumn("Tax Class", 90, 1, 1);
    }
    host::FieldEditControl taxGroup;
    host::GridControl grid;
    grids::TaxGroupGrid mapping;
  };

  void TaxGroupGridWithClassEditor() {
    QWidget form;
    form.setWindowTitle("SAMLTD - Ordavel");
    auto groups = Open("TX0003");
    auto classes = Open("TX0001");
    Mapping from(*this, *groups, *classes, "From Sales Tax Group");
    Mapping to(*this, *groups, *classes, "To Sales Tax Group");
    from.taxGroup.Type("ONGSTPST");
    from.taxGroup.Leave();
    // The section's two columns: tax-group controls, and grids 3765 twips wide, 1365 high.
    auto place = [&form](QWidget* widget, int left, int top, int height) {
      widget->setGeometry(TwipsToPixels(QRect(left, top, 3765, height), form));
    };
    place(new FieldEditWidget(from.taxGroup, services_, &form), 75, 150, 315);
    place(new FieldEditWidget(to.taxGroup, services_, &form), 4020, 150, 315);
    auto* table = new GridWidget(from.grid, services_, &form);
    place(table, 75, 600, 1365);
    place(new GridWidget(to.grid, services_, &form), 4020, 600, 1365);
    form.resize(TwipsToPixels(7860, form), TwipsToPixels(2100, form));
    form.move(40, 60);
    form.show();
    from.grid.Click(1, 1);
    table->EditCurrentCell();
    Settle();
    Save({&form}, "tax-group-grid-class-editor.png");
  }

  void TaxAuthorityGridWithOperations() {
    QWidget form;
    form.setWindowTitle("SAMLTD - Ordavel");
    auto authorities = Open("TX0002");
    auto classes = Open("TX0001");
    host::GridControl grid;
    grids::TaxAuthorityGrid mapping(hostServices_.newErrorDisplay);
    mapping.Name("A/R Item Taxes");
    mapping.Grid(&grid);
    mapping.adsTXAUTH(authorities.get());
    mapping.adsTXCLASS(classes.get());
    mapping.AddFromTaxClassColumn("From Tax Class", 109, 1, 2);
    mapping.AddToTaxClassColumn("To Tax Class", 99, 1, 2);
    mapping.AddTaxIncludedColumn("Tax Included", 80);
    auto* layout = new QVBoxLayout(&form);
    auto* table = new GridWidget(grid, services_, &form);
    table->setFixedSize(TwipsToPixels(10890, form), TwipsToPixels(1800, form));
    layout->addWidget(table);
    form.move(40, 60);
    form.show();
    grid.Focus();
    grid.EditCell(1, 0, "ONPST");
    grid.EditCell(0, 0, "Delete");
    grid.PressKey(host::GridControl::kKeyInsert);
    grid.EditCell(1, 1, "HST");
    grid.Click(4, 1);
    grid.Click(0, 1);
    table->EditCurrentCell();
    Settle();
    Save({&form, QApplication::activePopupWidget()}, "tax-authority-grid-operations.png");
    if (FieldEditWidget* editor = table->EditorWidget()) editor->List().hidePopup();
  }

  void FilterWindowWithTwoConditions() {
    auto customers = Open("AR0024");
    FilterWindowDialog window(*customers, "", services_);
    window.AddCondition();
    window.OperatorBox(0).setCurrentText(">=");
    window.ValueBox(0).setText("C1000");
    window.AddCondition();
    window.FieldBox(1).setCurrentIndex(window.FieldBox(1).findText("Customer Name"));
    window.OperatorBox(1).setCurrentText("LIKE");
    window.ValueBox(1).setText("%Catering%");
    emit window.ValueBox(1).textEdited(window.ValueBox(1).text());
    window.move(40, 60);
    window.show();
    window.ValueBox(1).setFocus();
    Settle();
    Save({&window}, "filter-window.png");
  }

  void ErrorDisplayWithTwoMessages() {
    connection_.PutMessage("Conversion of Accounts Receivable tax information is complete.");
    connection_.PutError("Invalid input. From Sales Tax Group Tax Group ONGST does not exist.");
    WhenModal([this](QDialog& display) {
      Save({&display}, "error-display.png");
      display.accept();
    });
    connection_.ShowErrors();
  }

 private:
  std::unique_ptr<host::DataSource> Open(const std::string& viewId) {
    std::unique_ptr<host::DataSource> source = standin_.DataSources().NewDataSource(viewId);
    source->SetDBLink(connection_.CompanyDBLinkRW());
    source->SetOpen(true);
    return source;
  }

  void DefineCustomerRange(host::FieldEditControl& control, host::DataSource& customers,
                           const std::string& fill) {
    auto field = std::make_shared<host::StandaloneField>();
    field->DefineLike(customers.Fields(1));
    field->SetAttributeValue(6);
    if (!fill.empty()) field->PutWithoutVerification(std::string(field->Size(), fill[0]));
    control.SetAccpacField(field);
    control.SetLeftLabel("Customer");
    const app::FinderSetup& setup = app::FinderSetupOf(app::FinderKind::Customer);
    host::ViewFinder finder;
    finder.ViewID = setup.viewId;
    finder.InitKeyType = 1;
    finder.DisplayFieldIDs = setup.display;
    finder.SearchFieldIDs = setup.search;
    finder.ReturnFieldIDs = setup.returned;
    control.SetViewFinder(finder);
  }

  void Save(const std::vector<QWidget*>& windows, const std::string& name) {
    const fs::path file = folder_ / name;
    if (!tools::ComposeWindows(windows).save(QString::fromStdString(file.string()))) {
      throw std::runtime_error("cannot write " + file.string());
    }
    std::cout << file.string() << '\n';
  }

  fs::path folder_;
  TemporarySite site_;
  host::standin::StandinHost standin_{site_.Registry()};
  QtSignonDialog signon_{nullptr, site_.SignonSettings()};
  QtErrorListView errorView_;
  host::HostServices hostServices_ = standin_.Services(site_.SharedData(), signon_, errorView_);
  host::AccpacConnection connection_{hostServices_};
  // Destroyed first: it closes the finders' data sources before the connection signs off.
  ControlServices services_{connection_, standin_.DataSources()};
};

}  // namespace

int main(int argc, char** argv) {
  return gui::controls::tools::RunScreenshotTool(argc, argv, "control_screenshots",
                                                 [](const fs::path& folder) {
                                                   Screens screens(folder);
                                                   screens.SignOnWithARefusal();
                                                   screens.FieldEditWithFinder();
                                                   screens.TaxGroupGridWithClassEditor();
                                                   screens.TaxAuthorityGridWithOperations();
                                                   screens.FilterWindowWithTwoConditions();
                                                   screens.ErrorDisplayWithTwoMessages();
                                                 });
}
