#include "platform/vcl/QtDialogs.h"

#include <algorithm>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "platform/vcl/Forms.h"
#include "platform/vcl/QtGraphics.h"
#include "platform/vcl/SysUtils.h"

// ---- filters ----------------------------------------------------------------------------------

namespace {

std::vector<String> SplitOn(const String& s, char sep) {
    std::vector<String> parts;
    size_t start = 0;
    for (;;) {
        size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == String::npos ? String::npos : at - start));
        if (at == String::npos) break;
        start = at + 1;
    }
    return parts;
}

// "*.a;*.b" as "*.a *.b"; "*.*" matches every name, dotted or not.
String QtPatterns(const String& vclPatterns) {
    String out;
    for (const String& raw : SplitOn(vclPatterns, ';')) {
        String p = Trim(raw);
        if (p.empty()) continue;
        if (p == "*.*") p = "*";
        if (!out.empty()) out += ' ';
        out += p;
    }
    return out.empty() ? String("*") : out;
}

// A name's own trailing "(*.jpg)" would be shown twice once the patterns are appended.
String WithoutTrailingPatternList(const String& name) {
    String n = TrimRight(name);
    if (n.empty() || n.back() != ')') return name;
    size_t open = n.rfind('(');
    if (open == String::npos) return name;
    String inner = n.substr(open + 1, n.size() - open - 2);
    if (inner.find('*') == String::npos) return name;
    return TrimRight(n.substr(0, open));
}

}  // namespace

std::vector<String> VclFilterToQtFilters(const String& Filter) {
    std::vector<String> out;
    if (Filter.empty()) return out;
    std::vector<String> parts = SplitOn(Filter, '|');
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        String name = WithoutTrailingPatternList(Trim(parts[i]));
        String patterns = QtPatterns(parts[i + 1]);
        out.push_back(name.empty() ? "(" + patterns + ")" : name + " (" + patterns + ")");
    }
    return out;
}

String VclFilterToQt(const String& Filter) {
    String out;
    for (const String& f : VclFilterToQtFilters(Filter)) {
        if (!out.empty()) out += ";;";
        out += f;
    }
    return out;
}

// ---- the service ------------------------------------------------------------------------------

namespace {

QString Q(const String& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
String S(const QString& s) { return s.toUtf8().toStdString(); }

QWidget* DialogParent() { return QApplication::activeWindow(); }

QMessageBox::Icon IconOf(TMsgDlgType type) {
    switch (type) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    case mtCustom: break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonMap {
    TMsgDlgBtn button;
    QMessageBox::StandardButton qt;
    TModalResult result;
};

// Dialog order as the VCL lays the buttons out.
constexpr ButtonMap kButtons[] = {
    {mbYes, QMessageBox::Yes, mrYes},
    {mbNo, QMessageBox::No, mrNo},
    {mbOK, QMessageBox::Ok, mrOk},
    {mbCancel, QMessageBox::Cancel, mrCancel},
    {mbAbort, QMessageBox::Abort, mrAbort},
    {mbRetry, QMessageBox::Retry, mrRetry},
    {mbIgnore, QMessageBox::Ignore, mrIgnore},
    {mbAll, QMessageBox::NoButton, mrAll},
    {TMsgDlgBtn::mbNoToAll, QMessageBox::NoToAll, mrNoToAll},
    {TMsgDlgBtn::mbYesToAll, QMessageBox::YesToAll, mrYesToAll},
    {mbHelp, QMessageBox::Help, mrNone},
};

class TQtInteraction : public TInteractionService {
public:
    TModalResult MessageBox(const String& Text, const String& Caption, TMsgDlgType DlgType,
                            TMsgDlgButtons Buttons) override {
        QMessageBox box(IconOf(DlgType), Q(Caption), Q(Text), QMessageBox::NoButton, DialogParent());
        std::vector<std::pair<QAbstractButton*, TModalResult>> results;
        if (Buttons.Empty()) Buttons = {mbOK};
        for (const ButtonMap& m : kButtons) {
            if (!Buttons.Contains(m.button)) continue;
            QAbstractButton* b = m.qt != QMessageBox::NoButton
                                     ? static_cast<QAbstractButton*>(box.addButton(m.qt))
                                     : static_cast<QAbstractButton*>(box.addButton(QStringLiteral("&All"), QMessageBox::AcceptRole));
            results.emplace_back(b, m.result);
        }
        box.exec();
        QAbstractButton* clicked = box.clickedButton();
        for (auto& [button, result] : results)
            if (button == clicked) return result;
        return mrCancel;
    }

    bool FileDialog(const TFileDialogRequest& Request, TFileDialogAnswer& Answer) override {
        QFileDialog dialog(DialogParent(), Q(Request.Title));
        dialog.setAcceptMode(Request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        if (Request.Save) dialog.setFileMode(QFileDialog::AnyFile);
        else if (Request.MultiSelect) dialog.setFileMode(QFileDialog::ExistingFiles);
        else dialog.setFileMode(Request.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        if (Request.Save && !Request.OverwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        std::vector<String> filters = VclFilterToQtFilters(Request.Filter);
        QStringList qtFilters;
        for (const String& f : filters) qtFilters << Q(f);
        if (!qtFilters.isEmpty()) {
            dialog.setNameFilters(qtFilters);
            int index = std::clamp(Request.FilterIndex, 1, static_cast<int>(qtFilters.size()));
            dialog.selectNameFilter(qtFilters[index - 1]);
        }
        String dir = Request.InitialDir.empty() ? ExtractFileDir(Request.FileName) : Request.InitialDir;
        if (!dir.empty()) dialog.setDirectory(Q(dir));
        if (!Request.FileName.empty()) dialog.selectFile(Q(ExtractFileName(Request.FileName)));
        String ext = Request.DefaultExt;
        if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
        if (!ext.empty()) dialog.setDefaultSuffix(Q(ext));
        if (dialog.exec() != QDialog::Accepted) return false;
        Answer.Files.clear();
        for (const QString& f : dialog.selectedFiles()) Answer.Files.push_back(S(f));
        int chosen = static_cast<int>(qtFilters.indexOf(dialog.selectedNameFilter()));
        Answer.FilterIndex = chosen >= 0 ? chosen + 1 : Request.FilterIndex;
        return !Answer.Files.empty();
    }

    bool SelectDirectory(const String& Caption, const String& Root, String& Directory) override {
        (void)Root;  // the toolkit's dialog starts wherever Directory says, from the whole tree
        QString chosen = QFileDialog::getExistingDirectory(DialogParent(), Q(Caption), Q(Directory));
        if (chosen.isEmpty()) return false;
        Directory = S(chosen);
        return true;
    }

    bool ChooseColor(TColor& Color) override {
        QColor chosen = QColorDialog::getColor(ColorToQColor(Color), DialogParent());
        if (!chosen.isValid()) return false;
        Color = QColorToColor(chosen);
        return true;
    }

    TModalResult ShowModal(TCustomForm* Form, const std::function<TModalResult()>& RunLoop) override {
        (void)Form;
        return RunLoop();
    }

    TMenuItem* TrackPopupMenu(TPopupMenu* Menu, int X, int Y) override { return QtMenus_TrackPopup(Menu, X, Y); }
    void CancelPopupMenu(TPopupMenu* Menu) override { QtMenus_CancelPopup(Menu); }
};

}  // namespace

TInteractionService* QtInteractionService() {
    static TQtInteraction service;
    return &service;
}
