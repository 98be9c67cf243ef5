#include "view/zk_view.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPrinter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "tools/tool_settings.h"
#include "ui/mouse_flags.h"
#include "ui/text_dlg.h"
#include "ui/window_picture.h"

namespace zk {

CZKView::CZKView(CZKDoc* doc, QWidget* parent) : QAbstractScrollArea(parent), m_doc(doc) {
    viewport()->setMouseTracking(true);
    // Nothing but our own paint pass paints the view.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setFrameShape(QFrame::NoFrame);
    m_doc->AddView(this);
    m_textTool.m_askText = [this](std::string& text, gdi::LogFont& font) {
        return CTextDlg::Ask(this, text, font);
    };
}

CZKView::~CZKView() {
    m_doc->RemoveView(this);
    if (g_pMapView == this)
        g_pMapView = NoMapView();
}

void CZKView::OnInitialUpdate() {
    ToolSettings::zoom = 1.0f;
    m_gridOn = 1;
    OnUpdate(0);
    g_pMapView = this;
    SelectTool(ToolSettings::tool);
    UpdateScrollSizes();
}

void CZKView::OnUpdate(int hint) {
    if (hint == 0)
        InvalidateAll();
    else if (hint == 1)
        UpdateScrollSizes();
}

MapTool* CZKView::ToolOfKind(int kind) {
    switch (kind) {
        case kTilesTool:
            return &m_tilesTool;
        case kFreehandTool:
            return &m_freehandTool;
        case kRectangleTool:
            return &m_rectangleTool;
        case kEllipseTool:
            return &m_ellipseTool;
        case kPolygonTool:
            return &m_polygonTool;
        case kGridTilesTool:
            return &m_gridTilesTool;
        case kTextTool:
            return &m_textTool;
        case kSymbolTool:
            return &m_symbolTool;
        case kSelectTool:
            return &m_selectTool;
        case kLinesTool:
            return &m_linesTool;
        default:
            return nullptr;
    }
}

void CZKView::MarkModified() {
    if (m_doc->IsModified())
        return;
    m_doc->SetModifiedFlag(true);
    if (m_onModified)
        m_onModified();
}

void CZKView::Commit(MapTool& tool) {
    if (!tool.HasWorkToCommit())
        return;
    if (tool.WillChangeMap())
        MarkModified();
    gdi::DC offscreen(&m_doc->m_bitmap);
    tool.CommitToMap(offscreen);
    InvalidateAll();
}

void CZKView::CommitToolWork() {
    if (m_pTool)
        Commit(*m_pTool);
}

void CZKView::LandSelection() {
    m_selectTool.Land();
    Commit(m_selectTool);
}

void CZKView::CancelToolWork() {
    if (!m_pTool)
        return;
    // Finished work lands as it would have; only what is still unfinished is dropped.
    CommitToolWork();
    m_pTool->Cancel();
    CommitToolWork();
    InvalidateAll();
}

void CZKView::ForgetToolWork() {
    for (int kind = kTilesTool; kind <= kLinesTool; ++kind)
        ToolOfKind(kind)->Forget();
    InvalidateAll();
}

void CZKView::OnEditUndo() {
    CommitToolWork();
    LandSelection();
    m_doc->OnEditUndo();
}

void CZKView::OnEditRedo() {
    CommitToolWork();
    LandSelection();
    m_doc->OnEditRedo();
}

bool CZKView::CanUndo() const {
    // Floating pixels not yet dropped are something to take back too.
    return m_doc->CanUndo() || m_selectTool.GetFloatingBitmap() != nullptr ||
           (m_pTool && m_pTool->WillChangeMap());
}

bool CZKView::CanRedo() const {
    // Work that lands before a redo is a change of its own, after which nothing can be redone.
    return m_doc->CanRedo() && !(m_pTool && m_pTool->WillChangeMap());
}

void CZKView::SelectTool(int kind) {
    CommitToolWork();
    // Only the current tool draws its overlay: a selection left floating under another tool
    // would show as a hole.
    if (kind != kSelectTool)
        LandSelection();
    ToolSettings::tool = kind;
    m_pTool = ToolOfKind(kind);
    m_toolPointKnown = false;
    if (m_onToolChanged)
        m_onToolChanged();
    InvalidateAll();
}

gdi::Point CZKView::ScrollPos() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

gdi::Point CZKView::WindowToMap(int x, int y) const {
    const gdi::Point scroll = ScrollPos();
    const float zoom = ToolSettings::zoom;
    const int mapX = ToMap(x + scroll.x, zoom);
    const int mapY = ToMap(y + scroll.y, zoom);
    if (m_gridOn && m_pTool)
        return m_pTool->SnapPoint(mapX, mapY);
    return {mapX, mapY};
}

void CZKView::UpdateScrollSizes() {
    ApplyScrollRanges();
    InvalidateAll();
    RefreshPointer();
    if (m_onStatusChanged)
        m_onStatusChanged();
}

void CZKView::ApplyScrollRanges() {
    const bool adjusting = m_adjustingScroll;
    m_adjustingScroll = true;
    const int totalW = ToWindow(m_doc->m_width, ToolSettings::zoom);
    const int totalH = ToWindow(m_doc->m_height, ToolSettings::zoom);
    const QSize client = viewport()->size();
    // A page is the window's size, so the thumb shows how much of the map the window holds; a
    // line is a hundredth of the map.
    horizontalScrollBar()->setRange(0, std::max(0, totalW - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, totalH - client.height()));
    horizontalScrollBar()->setPageStep(std::max(1, client.width()));
    verticalScrollBar()->setPageStep(std::max(1, client.height()));
    horizontalScrollBar()->setSingleStep(std::max(1, totalW / 100));
    verticalScrollBar()->setSingleStep(std::max(1, totalH / 100));
    m_adjustingScroll = adjusting;
}

void CZKView::InvalidateMapRect(int left, int top, int right, int bottom) {
    const gdi::Point scroll = ScrollPos();
    const gdi::Rect rect = ToWindow(gdi::Rect{left, top, right, bottom}, ToolSettings::zoom)
                               .Offset(-scroll.x, -scroll.y)
                               .Normalized();
    if (rect.IsEmpty())
        return;
    viewport()->update(QRect(rect.left, rect.top, rect.Width(), rect.Height()));
}

void CZKView::InvalidateAll() {
    viewport()->update();
}

void CZKView::OnZoomIn() {
    ZoomAround(2.0f, viewport()->rect().center());
}

void CZKView::OnZoomOut() {
    ZoomAround(0.5f, viewport()->rect().center());
}

void CZKView::OnZoomFit() {
    // The window as it is once the map needs no scroll bars.
    const QSize window = maximumViewportSize();
    ZoomAt(FitZoom(m_doc->m_width, m_doc->m_height, window.width(), window.height(),
                   ToolSettings::kMinZoom, ToolSettings::kMaxZoom),
           viewport()->rect().center());
}

void CZKView::OnZoomActual() {
    ZoomAt(1.0f, viewport()->rect().center());
}

bool CZKView::ZoomAround(float factor, QPoint anchor) {
    return ZoomAt(ToolSettings::zoom * factor, anchor);
}

bool CZKView::ZoomAt(float zoom, QPoint anchor) {
    const float old = ToolSettings::zoom;
    const float z = std::clamp(zoom, ToolSettings::kMinZoom, ToolSettings::kMaxZoom);
    if (z == old)
        return false;
    const gdi::Point s = ScrollPos();
    // The map pixel under the anchor.
    const int mx = FloorToMap(std::int64_t{anchor.x()} + s.x, old);
    const int my = FloorToMap(std::int64_t{anchor.y()} + s.y, old);
    ToolSettings::zoom = z;
    m_adjustingScroll = true;
    ApplyScrollRanges();
    // The first scroll position at which the anchor shows that pixel (the bars clamp it). Below
    // zoom 1 a window pixel shows several map pixels, and the anchor shows the first of them
    // that is at or after it.
    const auto position = [z](int m, int a) {
        return static_cast<int>(std::clamp(std::ceil(m * static_cast<double>(z) - a), 0.0,
                                           static_cast<double>(INT_MAX)));
    };
    horizontalScrollBar()->setValue(position(mx, anchor.x()));
    verticalScrollBar()->setValue(position(my, anchor.y()));
    m_adjustingScroll = false;
    InvalidateAll();
    RefreshPointer();
    if (m_onStatusChanged)
        m_onStatusChanged();
    return true;
}

void CZKView::OnGrid() {
    m_gridOn = m_gridOn ? 0 : 1;
    InvalidateAll();
}

void CZKView::OnGridLarger() {
    if (ToolSettings::grid < 64) {
        ToolSettings::grid *= 2;
        InvalidateAll();
    }
}

void CZKView::OnGridSmaller() {
    if (ToolSettings::grid > 4) {
        ToolSettings::grid /= 2;
        InvalidateAll();
    }
}

bool CZKView::ApplySettings(int grid, int overgrid, int width, int height, std::string* why) {
    ToolSettings::grid = grid;
    ToolSettings::overgrid = overgrid;
    bool ok = true;
    if (width != m_doc->m_width || height != m_doc->m_height) {
        // The selection belongs to the map as it is, before it is cut or grown.
        LandSelection();
        ok = m_doc->Resize(width, height, why);
    }
    InvalidateAll();
    return ok;
}

void CZKView::OnDraw(const gdi::Rect& clip) {
    const gdi::Point scroll = ScrollPos();

    // Logical coordinates are the zoomed map's; the window shows them from the scroll position.
    gdi::DC pDC(&m_window);
    pDC.SetViewportOrg({-scroll.x, -scroll.y});
    pDC.SetClipRect(clip);

    // Outside the map the window stays light grey; the map's part is painted over below.
    pDC.FillRect(clip.Offset(scroll.x, scroll.y), gdi::Brush::Solid(kOutsideColor));

    gdi::DC offscreen(&m_doc->m_bitmap);
    if (m_pTool) {
        // What the screen shows is what a save writes: a moved or pasted selection is a change.
        if (m_pTool->WillChangeMap())
            MarkModified();
        m_pTool->CommitToMap(offscreen);
    }

    // Zoomed out by 4 or more, the picture comes from the map's reduced copy for the zoom, which
    // holds the AND of each block the window shows as one pixel: the same picture as shrinking
    // the map itself, at the cost of the window's pixels.
    const float zoom = ToolSettings::zoom;
    int level = ReducedCopies::LevelFor(zoom);
    // The copy covers the whole source pixels the painted part shows (see map_window.h), from
    // the first one its edge cuts into; the clip keeps it to that part.
    const auto spans = [&](int lvl, MapSpan& cols, MapSpan& rows) {
        const float z = std::ldexp(zoom, lvl);
        cols = VisibleMapSpan(scroll.x + clip.left, clip.Width(), z);
        rows = VisibleMapSpan(scroll.y + clip.top, clip.Height(), z);
    };
    MapSpan cols, rows;
    spans(level, cols, rows);
    gdi::Bitmap* source = &m_doc->m_bitmap;
    if (level > 0) {
        gdi::Bitmap* reduced = m_doc->ReducedMap(
            level, {cols.map, rows.map, cols.map + cols.mapSize, rows.map + rows.mapSize});
        if (reduced) {
            source = reduced;
        } else {  // no memory for the copy: the map shrinks as it always did
            level = 0;
            spans(level, cols, rows);
        }
    }
    // Source pixels beyond the map are not read: the window there keeps its grey.
    const gdi::DC sourceDC(source);
    pDC.StretchBlt(cols.window, rows.window, cols.windowSize, rows.windowSize, sourceDC, cols.map,
                   rows.map, cols.mapSize, rows.mapSize, gdi::Rop::SrcCopy);

    if (m_gridOn) {
        // Only the dots inside the painted part of the window are set: the same picture at a
        // cost that follows the window.
        const gdi::Rect logical = clip.Offset(scroll.x, scroll.y);
        const std::vector<int> xs = GridDotPositions(logical.left, logical.right, m_doc->m_width);
        const std::vector<int> ys = GridDotPositions(logical.top, logical.bottom, m_doc->m_height);
        // Zoomed out a dot can stand on every fourth pixel of every fourth row: they are set
        // straight into the window's rows, all of them inside the painted part.
        for (const int y : ys) {
            gdi::Color* row = m_window.Row(y - scroll.y);
            for (const int x : xs)
                row[x - scroll.x] = kGridDotColor;
        }
    }

    if (m_pTool) {
        // The tools' marks belong on the map: none on the grey beyond it.
        const gdi::Rect map =
            ToWindow(gdi::Rect{0, 0, m_doc->m_width, m_doc->m_height}, ToolSettings::zoom)
                .Offset(-scroll.x, -scroll.y);
        pDC.SetClipRect(clip.Intersect(map));
        m_pTool->DrawOverlay(pDC, ToolSettings::zoom);
    }
}

std::vector<int> CZKView::GridDotPositions(int from, int to, int mapSize) {
    // Each dot stands where the map mapping shows the grid line it marks.
    const float zoom = ToolSettings::zoom;
    const int g = ToolSettings::GridStep();
    std::vector<int> positions;
    if (!(g * static_cast<double>(zoom) >= kMinGridDotSpacing))
        return positions;
    const int end = std::min(to, ToWindow(mapSize, zoom));
    for (int k = std::max(0, FloorToMap(from, zoom) / g);; ++k) {
        const int x = ToWindow(k * g, zoom);
        if (x >= end)
            break;
        if (x >= from)
            positions.push_back(x);
    }
    return positions;
}

void CZKView::Render(const QRect& r) {
    const QSize size = viewport()->size();
    if (size.isEmpty())
        return;
    if (m_window.Width() != size.width() || m_window.Height() != size.height())
        m_window = gdi::Bitmap(size.width(), size.height(), 32, kOutsideColor);
    OnDraw(
        gdi::Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1}.Intersect(m_window.Bounds()));
}

void CZKView::paintEvent(QPaintEvent* event) {
    const QRect r = event->rect();
    Render(r);
    if (m_window.IsNull())
        return;
    ShowPicture(*viewport(), m_window, r);
}

void CZKView::PaintNow() {
    Render(viewport()->rect());
    viewport()->update();
}

void CZKView::NotePointer(const QPointF& position, unsigned flags) {
    const QPoint was = m_pointer;
    const bool wasOver = m_pointerOver;
    m_pointer = position.toPoint();
    m_pointerOver = true;
    m_pointerFlags = flags;
    if ((!wasOver || was != m_pointer) && m_onStatusChanged)
        m_onStatusChanged();
}

bool CZKView::PointerOnMap(gdi::Point* p) const {
    if (!m_pointerOver)
        return false;
    const gdi::Point scroll = ScrollPos();
    const int x = FloorToMap(m_pointer.x() + scroll.x, ToolSettings::zoom);
    const int y = FloorToMap(m_pointer.y() + scroll.y, ToolSettings::zoom);
    if (x < 0 || y < 0 || x >= m_doc->m_width || y >= m_doc->m_height)
        return false;
    *p = {x, y};
    return true;
}

void CZKView::MoveTool(unsigned flags) {
    const gdi::Point m = WindowToMap(m_pointer.x(), m_pointer.y());
    m_toolPoint = m;
    m_toolPointKnown = true;
    m_pTool->OnMouseMove(flags, m.x, m.y);
}

void CZKView::RefreshPointer() {
    // The map moved under a pointer that stood still (a scroll, a zoom): the tool hears of the
    // pointer's new map point as if the pointer had moved, so its marks stay under it.
    if (!m_pointerOver || !m_pTool)
        return;
    const gdi::Point m = WindowToMap(m_pointer.x(), m_pointer.y());
    if (m_toolPointKnown && m == m_toolPoint)
        return;
    MoveTool(m_pointerFlags);
}

void CZKView::mousePressEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    // Every press takes an undo snapshot, whatever the tool.
    // Work still queued from the last gesture belongs to the map before the snapshot, so that
    // one Undo takes back exactly one gesture.
    CommitToolWork();
    // A floating selection is one step from its lift to its drop: its presses begin none.
    if (!m_selectTool.GetFloatingBitmap())
        m_doc->SaveUndo();
    NotePointer(event->position(), KeyStateFlags(event->buttons() & ~button, event->modifiers()));
    if (!m_pTool)
        return;
    // A press can come where no move went before it (a pen set down, a touch screen, a jump):
    // the tool first hears that the pointer is there, so the press acts at the press point.
    const gdi::Point m = WindowToMap(m_pointer.x(), m_pointer.y());
    if (!m_toolPointKnown || m != m_toolPoint)
        MoveTool(m_pointerFlags);
    if (button == Qt::LeftButton)
        m_pTool->OnLButtonDown(KeyStateFlags(event), m.x, m.y);
    else
        m_pTool->OnRButtonDown(KeyStateFlags(event), m.x, m.y);
}

void CZKView::mouseReleaseEvent(QMouseEvent* event) {
    // Qt delivers the release wherever the pointer is, so a gesture always ends when the button
    // comes up.
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    NotePointer(event->position(), KeyStateFlags(event));
    if (!m_pTool)
        return;
    const gdi::Point m = WindowToMap(m_pointer.x(), m_pointer.y());
    if (button == Qt::LeftButton)
        m_pTool->OnLButtonUp(KeyStateFlags(event), m.x, m.y);
    else
        m_pTool->OnRButtonUp(KeyStateFlags(event), m.x, m.y);
    if (m_onGestureFinished)
        m_onGestureFinished();
}

void CZKView::mouseMoveEvent(QMouseEvent* event) {
    NotePointer(event->position(), KeyStateFlags(event));
    if (m_pTool)
        MoveTool(m_pointerFlags);
}

void CZKView::mouseDoubleClickEvent(QMouseEvent* event) {
    // A left double-click is only a second release to the tools; a right one is its own
    // operation (the polygon tool closes on it). Neither is a press: no snapshot.
    if (event->button() != Qt::RightButton || !m_pTool)
        return;
    NotePointer(event->position(), KeyStateFlags(event));
    const gdi::Point m = WindowToMap(m_pointer.x(), m_pointer.y());
    m_pTool->OnRButtonDblClk(KeyStateFlags(event), m.x, m.y);
}

void CZKView::wheelEvent(QWheelEvent* event) {
    NotePointer(event->position(), KeyStateFlags(event->buttons(), event->modifiers()));
    const QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // Ctrl+wheel zooms around the pointer, a step a notch; the finer turns of a touchpad
        // add up to one.
        if ((m_wheelZoom > 0 && delta.y() < 0) || (m_wheelZoom < 0 && delta.y() > 0))
            m_wheelZoom = 0;
        m_wheelZoom += delta.y();
        for (; m_wheelZoom >= 120; m_wheelZoom -= 120)
            ZoomAround(2.0f, m_pointer);
        for (; m_wheelZoom <= -120; m_wheelZoom += 120)
            ZoomAround(0.5f, m_pointer);
        event->accept();
        return;
    }
    if ((event->modifiers() & Qt::ShiftModifier) && delta.y() != 0 && delta.x() == 0) {
        // Shift+wheel scrolls sideways, by the steps a plain turn scrolls down.
        QWheelEvent sideways(event->position(), event->globalPosition(), event->pixelDelta(), delta,
                             event->buttons(), event->modifiers() & ~Qt::ShiftModifier,
                             event->phase(), event->inverted(), event->source());
        QCoreApplication::sendEvent(horizontalScrollBar(), &sideways);
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

bool CZKView::viewportEvent(QEvent* event) {
    // Qt sends no leave while a button is held, so a drag beyond the window goes on.
    if (event->type() == QEvent::Leave) {
        m_pointerOver = false;
        if (m_onStatusChanged)
            m_onStatusChanged();
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void CZKView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollSizes();
}

void CZKView::scrollContentsBy(int, int) {
    // Overlays are drawn in window space: repaint everything rather than move pixels.
    InvalidateAll();
    if (!m_adjustingScroll) {
        RefreshPointer();
        if (m_onStatusChanged)
            m_onStatusChanged();
    }
}

}  // namespace zk
