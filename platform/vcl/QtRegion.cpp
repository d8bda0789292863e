#include "platform/vcl/QtRegion.h"

#include <set>

#include "platform/vcl/Forms.h"
#include "platform/vcl/QtControls.h"

struct HRGN__ {
    QRegion region;
};

namespace {

// Live regions, so that a stale or foreign handle is refused instead of followed.
std::set<HRGN>& Live() {
    static std::set<HRGN> live;
    return live;
}

HRGN Make(QRegion r) {
    HRGN h = new HRGN__{std::move(r)};
    Live().insert(h);
    return h;
}

int Complexity(const QRegion& r) {
    if (r.isEmpty()) return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRect RectOf(int X1, int Y1, int X2, int Y2) {
    return QRect(QPoint(std::min(X1, X2), std::min(Y1, Y2)), QPoint(std::max(X1, X2) - 1, std::max(Y1, Y2) - 1));
}

}  // namespace

bool IsRegion(HRGN Rgn) { return Rgn != nullptr && Live().count(Rgn) != 0; }

const QRegion& RegionOf(HRGN Rgn) {
    static const QRegion empty;
    return IsRegion(Rgn) ? Rgn->region : empty;
}

HRGN CreateRectRgn(int X1, int Y1, int X2, int Y2) {
    if (X1 == X2 || Y1 == Y2) return Make(QRegion());
    return Make(QRegion(RectOf(X1, Y1, X2, Y2)));
}

HRGN CreateEllipticRgn(int X1, int Y1, int X2, int Y2) {
    return Make(QRegion(RectOf(X1, Y1, X2, Y2), QRegion::Ellipse));
}

HRGN CreateRoundRectRgn(int X1, int Y1, int X2, int Y2, int W, int H) {
    QRect r = RectOf(X1, Y1, X2, Y2);
    int rw = std::min(std::abs(W), r.width()), rh = std::min(std::abs(H), r.height());
    if (rw < 2 || rh < 2) return Make(QRegion(r));
    // Four quarter-ellipse corners joined by two crossing bands.
    QRegion reg(r.adjusted(rw / 2, 0, -rw / 2, 0));
    reg += QRegion(r.adjusted(0, rh / 2, 0, -rh / 2));
    reg += QRegion(QRect(r.left(), r.top(), rw, rh), QRegion::Ellipse);
    reg += QRegion(QRect(r.right() - rw + 1, r.top(), rw, rh), QRegion::Ellipse);
    reg += QRegion(QRect(r.left(), r.bottom() - rh + 1, rw, rh), QRegion::Ellipse);
    reg += QRegion(QRect(r.right() - rw + 1, r.bottom() - rh + 1, rw, rh), QRegion::Ellipse);
    return Make(reg);
}

int CombineRgn(HRGN Dest, HRGN Src1, HRGN Src2, int Mode) {
    if (!IsRegion(Dest) || !IsRegion(Src1) || (Mode != RGN_COPY && !IsRegion(Src2))) return ERROR_REGION;
    const QRegion& a = Src1->region;
    QRegion result;
    switch (Mode) {
        case RGN_AND: result = a.intersected(Src2->region); break;
        case RGN_OR: result = a.united(Src2->region); break;
        case RGN_XOR: result = a.xored(Src2->region); break;
        case RGN_DIFF: result = a.subtracted(Src2->region); break;
        case RGN_COPY: result = a; break;
        default: return ERROR_REGION;
    }
    Dest->region = result;
    return Complexity(result);
}

BOOL OffsetRgn(HRGN Rgn, int X, int Y) {
    if (!IsRegion(Rgn)) return FALSE;
    Rgn->region.translate(X, Y);
    return TRUE;
}

BOOL PtInRegion(HRGN Rgn, int X, int Y) { return IsRegion(Rgn) && Rgn->region.contains(QPoint(X, Y)); }

BOOL DeleteObject(HRGN Rgn) {
    if (!IsRegion(Rgn)) return FALSE;
    Live().erase(Rgn);
    delete Rgn;
    return TRUE;
}

int SetWindowRgn(HWND hWnd, HRGN hRgn, BOOL) {
    TWinControl* c = FindControl(hWnd);
    auto* form = dynamic_cast<TCustomForm*>(c);
    if (form == nullptr) {
        DeleteObject(hRgn);
        return 0;
    }
    form->SetWindowRegion(hRgn);
    return 1;
}

QRegion EmptyWindowMask() { return QRegion(-1, -1, 1, 1); }

int GetWindowRgn(HWND hWnd, HRGN hRgn) {
    auto* form = dynamic_cast<TCustomForm*>(FindControl(hWnd));
    if (form == nullptr || !IsRegion(hRgn) || !form->HasBridge()) return ERROR_REGION;
    QWidget* w = form->Bridge()->WindowWidget();
    if (w == nullptr || w->mask().isEmpty()) return ERROR_REGION;
    // Unless the program paints the frame, the mask lies on the client; the region is the window's.
    TRect frame = form->Bridge()->PaintsFrame() ? TRect{} : form->FrameMetrics();
    hRgn->region = w->mask().subtracted(EmptyWindowMask()).translated(frame.Left, frame.Top);
    return Complexity(hRgn->region);
}
