#include "profile_bar.h"

#include "debug_output.h"
#include "exchange_file.h"
#include "file_dialog.h"
#include "option_context.h"
#include "option_session.h"
#include "option_text_ids.h"
#include "profile_actions.h"
#include "program_folder.h"
#include "question_box.h"
#include "skin_description.h"
#include "wide_text.h"

namespace {

enum BarEntry {
    kDropDownEntry = 5,
    kNewEntry = 6,
    kDeleteEntry = 7,
    kMenuEntry = 8,
    kNameEntry = 10,
    kListEntry = 13,
    kRenameEntry = 15,
};
constexpr int kListId = 4112;

constexpr UINT kTextDeleteQuestion = option_text::kDeleteProfileQuestion;
constexpr UINT kTextDeleteCaption = option_text::kDeleteProfileTitle;
constexpr UINT kTextLaunchQuestion = option_text::kLaunchImportQuestion;
constexpr UINT kTextLaunchProgram = option_text::kLaunchImportProgram;
constexpr UINT kTextLaunchCommand = option_text::kLaunchImportCommand;
constexpr UINT kTextImportAsIs = option_text::kImportAsIs;
constexpr UINT kTextImportReset = option_text::kImportResetLaunch;
constexpr UINT kTextImportNone = option_text::kImportNothing;

// The platform's filters: pairs of display text and pattern, each ending in NUL.
constexpr wchar_t kExportFilter[] = L"Gaming Mouse Profile(*.gmp)\0*.GMP\0";
constexpr wchar_t kImportFilter[] = L"Gaming Mouse Profile(*.gmp)\0*.gmp\0";

// Export and import both start on a file named ".gmp" in the store's folder.
FileOffer ExchangeFileOffer() {
    return {kExportFilter, kImportFilter, (GetProgramFolder() / L"config" / L".gmp").wstring(), L"gmp"};
}

}  // namespace

std::wstring TrimmedPath(const wchar_t* path) {
    std::wstring text(path);
    const size_t first = text.find_first_not_of(L" \t");
    const size_t last = text.find_last_not_of(L" \t");
    return first == std::wstring::npos ? std::wstring() : text.substr(first, last - first + 1);
}

CProfileBar::CProfileBar(const OptionContext& context, Handlers handlers)
    : context_(context), session_(context.Session()), handlers_(std::move(handlers)) {
    const CItemBar::Layout layout{.dropDownEntry = kDropDownEntry, .newEntry = kNewEntry, .deleteEntry = kDeleteEntry,
                                  .moreEntry = kMenuEntry, .nameEntry = kNameEntry, .listEntry = kListEntry,
                                  .renameEntry = kRenameEntry, .listId = kListId, .listCoversButtons = true};
    CItemBar::Handlers bar;
    bar.beforeClick = handlers_.beforeClick;
    bar.fillList = [this] { RefillList(); };
    bar.picked = [this](int row) { Select(row); };
    bar.added = [this] { Add(); };
    bar.deleted = [this] { Delete(); };
    bar.renameBegins = [this]() -> std::optional<std::u16string> {
        if (!session_.current()) return std::nullopt;
        const std::u16string name = CurrentName();
        model_.BeginRename(session_.store().values.ProfileID, name);
        return name;
    };
    bar.renameEnds = [this](const std::u16string& typed) { Rename(typed); };
    bar.currentName = [this] { return CurrentName(); };
    bar.text = [this](UINT id) { return OptionText(id); };
    bar_.Configure(layout, std::move(bar));
    bar_.AddMenuItem(kItemBarCopy, [this] { Copy(); });
    bar_.AddMenuItem(kItemBarImport, [this] { Import(); });
    bar_.AddMenuItem(kItemBarExport, [this] { Export(); });
}

std::wstring CProfileBar::OptionText(UINT id) const { return context_.Text(id); }

void CProfileBar::CreateButtons(HWND page, const SkinDescription& skin, const SkinPictures& pictures) {
    page_ = page;
    bar_.CreateButtons(page, skin, pictures);
}

void CProfileBar::CreateListAndBox(HWND page, const SkinDescription& skin) {
    page_ = page;
    bar_.CreateList(page, skin);
    bar_.CreateRenameBox(page, skin);
    bar_.SetAccessibleName(OptionText(option_text::kProfileCaption));
}

// ---- showing -----------------------------------------------------------------------

std::u16string CProfileBar::CurrentName() const {
    const ProfileRecord* current = session_.current();
    return current ? FieldText(current->ProFileName) : std::u16string();
}

void CProfileBar::ShowName(const std::u16string& name) {
    bar_.ShowName(Wide(name));
    if (handlers_.nameShown) handlers_.nameShown();
}

void CProfileBar::Refresh() {
    RefillList();
    ShowName(CurrentName());
}

void CProfileBar::RefillList() {
    CSkinListBox* list = bar_.List();
    if (!list) return;
    list->ResetContent();
    for (const auto& profile : session_.store().profiles) list->AddString(Wide(FieldText(profile->ProFileName)), 0);
    list->SetCurSel(session_.store().values.ProfileID);
}

std::optional<CProfileBar::PendingRename> CProfileBar::RenameInProgress() const {
    if (!model_.Renaming()) return std::nullopt;
    return PendingRename{session_.store().values.ProfileID, CurrentName(), Narrow16(bar_.TypedName())};
}

// ---- profile operations ------------------------------------------------------------

void CProfileBar::Select(int position) {
    if (!GetProfileAt(session_.store().profiles, position)) return;
    session_.store().values.ProfileID = position;
    // The mouse first: the captions and pages follow while it downloads.
    MarkAllParts(session_.store().values);
    if (handlers_.apply) handlers_.apply(true);
    bar_.CloseDropDown();
    ShowName(CurrentName());
    if (handlers_.switched) handlers_.switched();
}

void CProfileBar::Rename(const std::u16string& typed) {
    std::u16string shown = CurrentName();
    const auto accepted = AcceptedRename(session_.store().profiles, session_.store().values.ProfileID, typed);
    if (accepted) {
        CopyToField(session_.current()->ProFileName, *accepted);
        // A name changes nothing on the mouse: saved, not applied.
        if (!session_.SaveWithoutApply()) DebugOut(L"CConfigPage: the renamed profile could not be saved\n");
        shown = *accepted;
    }
    ShowName(shown);
}

void CProfileBar::Add() {
    Select(AddNewProfile(session_.store()));
    RefillList();
}

void CProfileBar::Delete() {
    if (session_.store().profiles.size() <= 1) return;
    // The profile shown is the one asked about, and the one deleted, even when
    // the Monitor switched to another while the question was open.
    const ProfileMark shown = MarkCurrentProfile(session_.store());
    // Our own box rather than the platform's: it has the suite's look, and
    // screen readers learn its text and buttons (Wine describes no message box).
    CQuestionBox::Content question;
    question.title = OptionText(kTextDeleteCaption);
    question.question = OptionText(kTextDeleteQuestion);
    question.details = Wide(CurrentName());
    // In the two right-hand places, as a message box has them; Enter deletes, as it did.
    // Without the texts file an answer left blank would leave no button to press.
    const auto answer = [this](UINT id, const wchar_t* fallback) {
        std::wstring text = OptionText(id);
        return text.empty() ? std::wstring(fallback) : text;
    };
    question.answers = {std::wstring(), answer(option_text::kOk, L"OK"), answer(option_text::kCancel, L"Cancel")};
    question.defaultAnswer = 2;
    if (CQuestionBox(std::move(question)).Ask(GetAncestor(page_, GA_ROOT)) != 2) return;
    if (!DeleteProfileAt(session_.store(), FindMarkedProfile(session_.store().profiles, shown))) return;
    RefillList();
    Select(session_.store().values.ProfileID);
}

void CProfileBar::Copy() {
    CSkinListBox* list = bar_.List();
    const int rows = list ? list->Count() : 0;
    const int position = CopyCurrentProfile(session_.store());
    if (position < 0) return;
    if (list) {
        list->SetTopIndex(rows > 0 ? rows - 1 : 0);
        list->AddString(Wide(CurrentName()), 0);
        // The list's selection follows: the copy is the profile shown now.
        list->SetCurSel(position);
    }
    Select(position);
}

void CProfileBar::Export() {
    if (!session_.current()) return;
    // The Monitor may reload the store while the dialog is open, which frees
    // the records of now: the profile is found again afterwards, as it is then,
    // and a copy of it as it is now stands in when it is gone.
    const ProfileMark shown = MarkCurrentProfile(session_.store());
    const ProfileRecord before = *session_.current();
    const std::wstring path = ChooseFile(GetAncestor(page_, GA_ROOT), FileDialog::kSave, ExchangeFileOffer());
    if (path.empty()) return;
    const ProfileRecord* now = GetProfileAt(session_.store().profiles, FindMarkedProfile(session_.store().profiles, shown));
    // The file is replaced in one step; nothing is said afterwards either way.
    std::string error;
    if (!WriteExchangeSection(now ? *now : before, std::filesystem::path(path), &error))
        DebugOut(L"CConfigPage: the profile could not be exported\n");
}

void CProfileBar::Import() {
    const std::wstring path = ChooseFile(GetAncestor(page_, GA_ROOT), FileDialog::kOpen, ExchangeFileOffer());
    if (path.empty()) return;

    std::string error;
    std::unique_ptr<ProfileRecord> record =
        ReadProfileForImport(std::filesystem::path(TrimmedPath(path.c_str())), error);
    if (!record) {
        DebugOut(L"CConfigPage: the chosen file holds no profile\n");
        return;
    }
    const std::vector<LaunchAction> actions = LaunchActionsOf(*record);
    if (!actions.empty()) {
        // A shared profile must not start programs without its new owner knowing.
        CQuestionBox::Content question;
        question.title = OptionText(kItemBarImport.text);
        question.question = OptionText(kTextLaunchQuestion);
        for (const LaunchAction& action : actions) {
            question.details += OptionText(action.code == kCodeLaunchProgram ? kTextLaunchProgram : kTextLaunchCommand);
            question.details += L" " + std::to_wstring(ButtonNumber(action.buttonIndex)) + L": " + Wide(action.target);
            question.details += L"\r\n";
        }
        question.answers = {OptionText(kTextImportAsIs), OptionText(kTextImportReset), OptionText(kTextImportNone)};
        // Enter takes the safe import: the profile without what it would run.
        question.defaultAnswer = 2;
        const int answer = CQuestionBox(std::move(question)).Ask(GetAncestor(page_, GA_ROOT));
        if (answer == 2) ResetLaunchActions(*record);
        if (answer != 1 && answer != 2) return;
    }
    Select(AddImportedProfile(session_.store(), std::move(record)));
    RefillList();
}
