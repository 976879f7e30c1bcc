// Builds a dialog template into Qt widgets and routes their events to the CDialog as
// window messages.
#include "framework/qt/QtDialogWindow.h"

#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QValidator>
#include <QWhatsThis>
#include <map>
#include <string>
#include <vector>

#include "framework/AfxMessageBox.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/DialogWindow.h"
#include "framework/LazyDialogWindow.h"
#include "framework/qt/QtApplication.h"
#include "framework/qt/QtModal.h"
#include "framework/qt/QtTreeCtrl.h"

QSize DialogBaseUnits(const QFont& font) {
    QFontMetrics fm(font);
    const int width = fm.horizontalAdvance(QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    return QSize((width / 26 + 1) / 2, fm.height());
}

QRect MapDialogRect(const QSize& base, int x, int y, int cx, int cy) {
    auto mul = [](int v, int num, int den) { return (v * num + den / 2) / den; };
    return QRect(mul(x, base.width(), 4), mul(y, base.height(), 8), mul(cx, base.width(), 4),
                 mul(cy, base.height(), 8));
}

QFont DialogFont(const DialogTemplate& tmpl) {
    // The Windows dialog font is not here; DejaVu Sans stands in for it.
    QFont::insertSubstitution(QString::fromUtf8(tmpl.fontName), QStringLiteral("DejaVu Sans"));
    QFont font(QString::fromUtf8(tmpl.fontName), tmpl.pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

VarnokTreeWidget::VarnokTreeWidget(QWidget* parent) : QTreeWidget(parent) {
    // One column as wide as its longest visible name: longer than the view, it scrolls.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // An opened item shows as many of its children as fit, and itself in any case.
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        const int n = model()->rowCount(index);
        if (n == 0) return;
        scrollTo(model()->index(n - 1, 0, index), EnsureVisible);
        scrollTo(index, EnsureVisible);
    });
}

void VarnokTreeWidget::mousePressEvent(QMouseEvent* event) {
    // A click beside the items keeps the selection, as the tree control does.
    m_pressOnEmpty = !indexAt(event->position().toPoint()).isValid();
    if (m_pressOnEmpty) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void VarnokTreeWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (m_pressOnEmpty) {
        m_pressOnEmpty = false;
        event->accept();
        return;
    }
    QTreeWidget::mouseReleaseEvent(event);
}

void VarnokTreeWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // The dialog hears of the double-click first, then the tree opens or closes the item.
    if (!indexAt(event->position().toPoint()).isValid()) {
        m_pressOnEmpty = true;
        emit doubleClickedAnywhere();
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}

void VarnokTreeWidget::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const {
    if (!m_lines) {
        QTreeWidget::drawBranches(painter, rect, index);
        return;
    }
    const int indent = indentation();
    const int midY = rect.top() + rect.height() / 2;
    auto hasNext = [this](const QModelIndex& i) { return i.row() + 1 < model()->rowCount(i.parent()); };

    painter->save();
    QPen dots(palette().color(QPalette::Dark));
    dots.setCosmetic(true);
    dots.setDashPattern({1, 1});
    painter->setPen(dots);
    // The item's own column, at the right end of the branch area.
    int left = rect.right() + 1 - indent;
    const int midX = left + indent / 2;
    const bool hasAbove = index.parent().isValid() || index.row() > 0;
    painter->drawLine(midX, hasAbove ? rect.top() : midY, midX, hasNext(index) ? rect.bottom() : midY);
    painter->drawLine(midX, midY, left + indent - 2, midY);
    // A line through each ancestor's column whose ancestor has a sibling below.
    for (QModelIndex a = index.parent(); a.isValid() && left - indent >= rect.left(); a = a.parent()) {
        left -= indent;
        if (hasNext(a)) painter->drawLine(left + indent / 2, rect.top(), left + indent / 2, rect.bottom());
    }
    // The expand button: a small box with a minus when open, a plus when closed.
    if (model()->hasChildren(index)) {
        const int half = 4;
        const QRect box(midX - half, midY - half, 2 * half, 2 * half);
        painter->setPen(palette().color(QPalette::Dark));
        painter->setBrush(palette().color(QPalette::Base));
        painter->drawRect(box);
        painter->setPen(palette().color(QPalette::Text));
        painter->drawLine(box.left() + 2, midY, box.right() - 2, midY);
        if (!isExpanded(index)) painter->drawLine(midX, box.top() + 2, midX, box.bottom() - 2);
    }
    painter->restore();
}

QString AfxShownLabelText(const QLabel* label) {
    if (label->wordWrap()) return label->text();
    return label->fontMetrics().elidedText(label->text(), Qt::ElideMiddle, label->contentsRect().width());
}

namespace {

// A label one text line high: one line, shortened in the middle (see AfxShownLabelText).
class OneLineLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, AfxShownLabelText(this));
    }
};

// The dialog's context menu, in the system menu's place: its separators are drawn as
// etched lines, also the first one, which the toolkit's style would leave out.
class SystemMenu : public QMenu {
public:
    explicit SystemMenu(QWidget* parent) : QMenu(parent) { setSeparatorsCollapsible(false); }

protected:
    void paintEvent(QPaintEvent* event) override {
        QMenu::paintEvent(event);
        QPainter painter(this);
        for (QAction* a : actions()) {
            if (!a->isSeparator()) continue;
            const QRect r = actionGeometry(a);
            if (r.isEmpty()) continue;
            const int y = r.center().y();
            painter.setPen(palette().color(QPalette::Mid));
            painter.drawLine(r.left() + 2, y, r.right() - 2, y);
            painter.setPen(palette().color(QPalette::Light));
            painter.drawLine(r.left() + 2, y + 1, r.right() - 2, y + 1);
        }
    }
};

// A push button that wears a bitmap instead of its text shows its focus as a dotted frame
// inside its edge, as the bitmap hides the style's own focus mark.
class BitmapButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPushButton::paintEvent(event);
        if (!hasFocus() || !text().isEmpty()) return;
        // Black and white dots in turn: a mark that shows on any bitmap.
        QPainter painter(this);
        const QRect mark = rect().adjusted(4, 4, -5, -5);
        for (const auto& [colour, offset] : {std::pair{Qt::black, 0.0}, std::pair{Qt::white, 1.0}}) {
            QPen dots(colour);
            dots.setCosmetic(true);
            dots.setDashPattern({1, 1});
            dots.setDashOffset(offset);
            painter.setPen(dots);
            painter.drawRect(mark);
        }
    }
};

// EM_LIMITTEXT: typing may not make the text longer than the limit, but a longer text
// set by the program stays and may be shortened.
class LimitValidator : public QValidator {
public:
    LimitValidator(QLineEdit* edit, int limit) : QValidator(edit), m_limit(limit), m_last(edit->text().size()) {
        connect(edit, &QLineEdit::textChanged, this, [this](const QString& t) { m_last = t.size(); });
    }
    State validate(QString& input, int&) const override {
        return input.size() > m_limit && input.size() > m_last ? Invalid : Acceptable;
    }

private:
    int m_limit;
    qsizetype m_last;
};

// Where a menu opened from the keyboard appears: at the current tree item, else inside the
// control's top-left corner.
QPoint KeyboardMenuPoint(QWidget* w) {
    if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
        if (QTreeWidgetItem* item = tree->currentItem()) {
            const QRect r = tree->visualItemRect(item);
            if (r.isValid() && tree->viewport()->rect().contains(r.center()))
                return tree->viewport()->mapTo(tree, r.center());
        }
    }
    return QPoint(std::min(w->width() / 2, 8), std::min(w->height() / 2, 8));
}

QPixmap ResourcePixmap(const char* kind, int id, int size = 0) {
    QString name = QStringLiteral(":/varnok/%1%2").arg(QString::fromLatin1(kind)).arg(id);
    if (size) name += QStringLiteral("_%1").arg(size);
    return QPixmap(name + QStringLiteral(".png"));
}

class QtDialogWindow;

class VarnokQDialog : public QDialog {
public:
    VarnokQDialog(QtDialogWindow& owner, QWidget* parent) : QDialog(parent), m_owner(owner) {}
    void reject() override;
    void accept() override;

protected:
    void closeEvent(QCloseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    bool event(QEvent* e) override;

private:
    QtDialogWindow& m_owner;
};

class QtDialogWindow : public QObject, public DialogWindow {
public:
    QtDialogWindow(CDialog& owner, const DialogTemplate& tmpl);
    ~QtDialogWindow() override;

    CString GetItemText(int id) const override;
    void SetItemText(int id, const CString& text) override;
    int GetCheck(int id) const override;
    void SetCheck(int id, int state) override;
    void LimitText(int id, int nChars) override;
    void FocusAndSelectAll(int id) override;
    int GetFocusId() const override;
    HWND GetItemHandle(int id) const override { return reinterpret_cast<HWND>(Control(id)); }
    void SetButtonBitmap(int id, int bitmapId) override;
    void SetSmallIcon(int iconId) override;
    bool HasSystemMenu() const override { return (m_tmpl.style & WS_SYSMENU) != 0; }
    void AppendSystemMenuItem(UINT nCmd, const CString& text) override { m_menu.push_back({nCmd, text}); }
    CTreeCtrl* GetTree(int id) override;
    bool IsShown() const override { return m_dialog->isVisible(); }
    int RunModal() override;
    void EndDialog(int result) override;

    void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { m_owner.SendMessage(message, wParam, lParam); }
    void ShowSystemMenu(const QPoint& globalPos);
    QDialog* Dialog() { return m_dialog.data(); }
    QWidget* Control(int id) const {
        auto it = m_controls.find(id);
        return it == m_controls.end() ? nullptr : it->second;
    }
    // The control a widget belongs to (a tree's viewport belongs to the tree), or -1.
    int ControlIdOf(QObject* o) const;
    void SendHelp(int id, const QPoint& globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CDialog& m_owner;
    const DialogTemplate& m_tmpl;
    QPointer<VarnokQDialog> m_dialog;  // a child of its owner window, if it has one
    std::map<int, QWidget*> m_controls;
    std::map<int, std::string> m_bytes;  // texts set by the program, kept exactly
    std::map<int, std::unique_ptr<QtTreeCtrl>> m_trees;
    std::vector<std::pair<UINT, CString>> m_menu;
    int m_result = IDCANCEL;
};

void VarnokQDialog::reject() { m_owner.Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)); }
void VarnokQDialog::accept() { m_owner.Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED)); }

void VarnokQDialog::closeEvent(QCloseEvent* e) {
    e->ignore();  // the dialog ends through its cancel handling, which hides it
    reject();
}

void VarnokQDialog::contextMenuEvent(QContextMenuEvent* e) { m_owner.ShowSystemMenu(e->globalPos()); }

bool VarnokQDialog::event(QEvent* e) {
    if (e->type() == QEvent::EnterWhatsThisMode) {  // the caption's "?" button
        QWhatsThis::enterWhatsThisMode();
        return true;
    }
    return QDialog::event(e);
}

QtDialogWindow::QtDialogWindow(CDialog& owner, const DialogTemplate& tmpl)
    : m_owner(owner), m_tmpl(tmpl), m_dialog(new VarnokQDialog(*this, AfxQtActiveOwner())) {
    // A dialog opened from another belongs to it: transient for it, centred on it.
    QDialog* d = m_dialog.data();
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (tmpl.style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (tmpl.exStyle & WS_EX_CONTEXTHELP) flags |= Qt::WindowContextHelpButtonHint;
    d->setWindowFlags(flags);
    d->setWindowTitle(QString::fromUtf8(tmpl.caption));
    const QFont font = DialogFont(tmpl);
    d->setFont(font);
    const QSize base = DialogBaseUnits(font);
    d->setFixedSize(MapDialogRect(base, 0, 0, tmpl.cx, tmpl.cy).size());

    QWidget* previousTab = nullptr;
    for (const DialogControl& c : tmpl.controls) {
        QWidget* w = nullptr;
        const QString text = QString::fromUtf8(c.text);
        switch (c.kind) {
        case ControlKind::TreeView: {
            auto* tree = new VarnokTreeWidget(d);
            tree->setLines((c.style & TVS_HASLINES) != 0);
            tree->setHeaderHidden(true);
            tree->setColumnCount(1);
            tree->setRootIsDecorated((c.style & TVS_LINESATROOT) != 0);
            tree->setSelectionMode(QAbstractItemView::SingleSelection);
            tree->setUniformRowHeights(true);
            tree->setExpandsOnDoubleClick(true);
            const int id = c.id;
            auto notify = [this, id, tree] {
                NMHDR hdr{reinterpret_cast<HWND>(tree), static_cast<UINT>(id), NM_DBLCLK};
                Send(WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&hdr));
            };
            connect(tree, &QTreeWidget::doubleClicked, this, notify);
            connect(tree, &VarnokTreeWidget::doubleClickedAnywhere, this, notify);
            m_trees[c.id] = std::make_unique<QtTreeCtrl>(tree);
            w = tree;
            break;
        }
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(d);
            edit->setText(text);
            w = edit;
            break;
        }
        case ControlKind::CheckBox: w = new QCheckBox(text, d); break;
        case ControlKind::PushButton: {
            QPushButton* button = (c.style & BS_BITMAP) ? new BitmapButton(text, d) : new QPushButton(text, d);
            if (c.style & BS_DEFPUSHBUTTON) button->setDefault(true);
            button->setAutoDefault(false);
            const int id = c.id;
            connect(button, &QPushButton::clicked, this, [this, id] { Send(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED)); });
            w = button;
            break;
        }
        case ControlKind::Label: {
            // A label too low for two lines is drawn on one, as the status line needs.
            const bool oneLine = MapDialogRect(base, 0, 0, 0, c.cy).height() < 2 * QFontMetrics(font).lineSpacing();
            auto* label = oneLine ? new OneLineLabel(d) : new QLabel(d);
            label->setTextFormat(Qt::PlainText);
            label->setText(text);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(!oneLine && (c.style & 0xF) != SS_LEFTNOWORDWRAP);
            w = label;
            break;
        }
        case ControlKind::Icon: {
            auto* label = new QLabel(d);
            label->setPixmap(ResourcePixmap("icon", atoi(c.text), 32));
            w = label;
            break;
        }
        }
        w->setGeometry(MapDialogRect(base, c.x, c.y, c.cx, c.cy));
        w->setObjectName(QString::fromUtf8(*c.name ? c.name : "static"));
        w->setProperty("varnokControlId", c.id);
        w->setWhatsThis(QStringLiteral(" "));  // marks the control as one that has help
        if (c.style & WS_TABSTOP) {
            w->setFocusPolicy(Qt::StrongFocus);
            if (previousTab) QWidget::setTabOrder(previousTab, w);
            previousTab = w;
        } else {
            w->setFocusPolicy(Qt::NoFocus);
        }
        w->installEventFilter(this);
        if (auto* tree = qobject_cast<QTreeWidget*>(w)) tree->viewport()->installEventFilter(this);
        if (c.id != -1) m_controls[c.id] = w;
    }
    d->installEventFilter(this);
}

QtDialogWindow::~QtDialogWindow() { delete m_dialog.data(); }

int QtDialogWindow::ControlIdOf(QObject* o) const {
    for (; o; o = o->parent()) {
        QVariant v = o->property("varnokControlId");
        if (v.isValid()) return v.toInt();
        if (o == m_dialog.data()) break;
    }
    return -1;
}

void QtDialogWindow::SendHelp(int id, const QPoint& globalPos) {
    HELPINFO hi{};
    hi.cbSize = sizeof hi;
    hi.iContextType = HELPINFO_WINDOW;
    hi.iCtrlId = id;
    hi.hItemHandle = reinterpret_cast<HWND>(id == -1 ? static_cast<QWidget*>(m_dialog.data()) : Control(id));
    for (const DialogControl& c : m_tmpl.controls)
        if (c.id == id) hi.dwContextId = c.helpId;
    hi.MousePos = POINT{globalPos.x(), globalPos.y()};
    Send(WM_HELP, 0, reinterpret_cast<LPARAM>(&hi));
}

bool QtDialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        // Keys reach the dialog before the control, as through PreTranslateMessage.
        auto* key = static_cast<QKeyEvent*>(event);
        // Once per key: at the dialog's own focus control, which a message box shown
        // meanwhile does not take away (the key then travels on to the dialog).
        QWidget* focus = m_dialog->focusWidget();
        if (watched != (focus ? static_cast<QObject*>(focus) : m_dialog.data())) return false;
        if ((key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) || key->key() == Qt::Key_Menu) {
            QWidget* at = focus ? focus : m_dialog.data();
            ShowSystemMenu(at->mapToGlobal(KeyboardMenuPoint(at)));
            return true;
        }
        if (key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F24) {
            MSG msg{reinterpret_cast<HWND>(watched), WM_KEYDOWN, static_cast<WPARAM>(VK_F1 + (key->key() - Qt::Key_F1)),
                    0};
            if (m_owner.PreTranslateMessage(&msg)) return true;
            if (key->key() == Qt::Key_F1) {
                if (key->modifiers() & Qt::ShiftModifier) {
                    QWhatsThis::enterWhatsThisMode();
                } else {
                    SendHelp(ControlIdOf(focus), focus ? focus->mapToGlobal(QPoint(0, 0)) : QPoint());
                }
                return true;
            }
        }
        return false;
    }
    if (event->type() == QEvent::WhatsThis) {  // a click in What's This mode
        auto* help = static_cast<QHelpEvent*>(event);
        SendHelp(ControlIdOf(watched), help->globalPos());
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const int id = ControlIdOf(watched);
        for (const DialogControl& c : m_tmpl.controls)
            if (c.id == id && c.kind == ControlKind::Label && (c.style & SS_NOTIFY) &&
                static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                Send(WM_COMMAND, MAKEWPARAM(id, STN_CLICKED));
                return true;
            }
    }
    return false;
}

CString QtDialogWindow::GetItemText(int id) const {
    QWidget* w = Control(id);
    auto bytes = m_bytes.find(id);
    QString shown;
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        shown = edit->text();
    else if (auto* label = qobject_cast<QLabel*>(w))
        shown = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        shown = button->text();
    // What the program set is returned byte for byte while the control still shows it.
    if (bytes != m_bytes.end() &&
        QString::fromUtf8(bytes->second.data(), static_cast<qsizetype>(bytes->second.size())) == shown)
        return CString(bytes->second);
    const QByteArray utf8 = shown.toUtf8();
    return CString(std::string(utf8.constData(), static_cast<size_t>(utf8.size())));
}

void QtDialogWindow::SetItemText(int id, const CString& text) {
    QWidget* w = Control(id);
    const QString shown = QString::fromUtf8(text.GetString(), text.GetLength());
    m_bytes[id] = text.str();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(shown);
        edit->setCursorPosition(0);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(shown);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(shown);
    }
}

int QtDialogWindow::GetCheck(int id) const {
    auto* box = qobject_cast<QCheckBox*>(Control(id));
    if (!box) return 0;
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void QtDialogWindow::SetCheck(int id, int state) {
    auto* box = qobject_cast<QCheckBox*>(Control(id));
    if (!box) return;
    box->setTristate(state == 2);
    box->setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void QtDialogWindow::LimitText(int id, int nChars) {
    if (auto* edit = qobject_cast<QLineEdit*>(Control(id))) {
        delete edit->validator();
        edit->setValidator(new LimitValidator(edit, nChars));
    }
}

void QtDialogWindow::FocusAndSelectAll(int id) {
    QWidget* w = Control(id);
    if (!w) return;
    if (m_dialog->isVisible()) m_dialog->activateWindow();
    w->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
}

int QtDialogWindow::GetFocusId() const {
    QWidget* focus = m_dialog->focusWidget();
    return focus ? ControlIdOf(focus) : 0;
}

void QtDialogWindow::SetButtonBitmap(int id, int bitmapId) {
    auto* button = qobject_cast<QPushButton*>(Control(id));
    if (!button) return;
    const QPixmap pixmap = ResourcePixmap("bitmap", bitmapId);
    const QString caption = button->text();
    button->setIcon(QIcon(pixmap));
    button->setIconSize(pixmap.size());
    button->setText(QString());
    button->setShortcut(QKeySequence::mnemonic(caption));  // Alt+D still presses it
    button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
}

void QtDialogWindow::SetSmallIcon(int iconId) {
    QIcon icon;
    icon.addPixmap(ResourcePixmap("icon", iconId, 16));
    icon.addPixmap(ResourcePixmap("icon", iconId, 32));
    m_dialog->setWindowIcon(icon);
}

CTreeCtrl* QtDialogWindow::GetTree(int id) {
    auto it = m_trees.find(id);
    return it == m_trees.end() ? nullptr : it->second.get();
}

void QtDialogWindow::ShowSystemMenu(const QPoint& globalPos) {
    if (m_menu.empty()) return;
    SystemMenu menu(m_dialog.data());
    for (const auto& [cmd, text] : m_menu) {
        if (cmd == 0) {
            menu.addSeparator();
        } else {
            QAction* a = menu.addAction(QString::fromUtf8(text.GetString(), text.GetLength()));
            const UINT command = cmd;
            connect(a, &QAction::triggered, this, [this, command] { Send(WM_SYSCOMMAND, command, 0); });
        }
    }
    menu.exec(globalPos);
}

int QtDialogWindow::RunModal() {
    if (AfxHasNoDisplay()) {
        const std::string name = AfxGetAppName().str();
        std::string msg;
        if (const char* display = AfxUnreachableDisplay())
            msg = name + ": cannot open display " + EscapeControlCharacters(display).str() + "\n";
        msg += name +
               ": no display is available to show the window.\n"
               "To run unattended, give -q, the options and a start folder, for example:\n"
               "  " +
               name + " -q --c -s -n:30 '/var/tmp/app/*.tmp'\n";
        if (::write(2, msg.data(), msg.size()) < 0) {}
        AfxExitProcess(2);
    }
    AfxQtRunModal(m_dialog.data());
    return m_result;
}

void QtDialogWindow::EndDialog(int result) {
    m_result = result;
    m_dialog->done(result);
}

}  // namespace

std::unique_ptr<DialogWindow> AfxCreateQtDialogWindow(CDialog& owner, const DialogTemplate& tmpl) {
    return std::make_unique<QtDialogWindow>(owner, tmpl);
}

namespace {
// Also the window a dialog held in memory until it was shown.
QtDialogWindow* QtWindowOf(CDialog& dlg) {
    DialogWindow* w = dlg.GetWindow();
    if (auto* lazy = dynamic_cast<LazyDialogWindow*>(w)) w = lazy->Target();
    return dynamic_cast<QtDialogWindow*>(w);
}
}  // namespace

QDialog* AfxGetQDialog(CDialog& dlg) {
    auto* w = QtWindowOf(dlg);
    return w ? w->Dialog() : nullptr;
}

QWidget* AfxGetControl(CDialog& dlg, int id) {
    auto* w = QtWindowOf(dlg);
    return w ? w->Control(id) : nullptr;
}
