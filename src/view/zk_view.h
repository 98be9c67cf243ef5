// The map view: shows the map scrolled and zoomed with the grid dots, turns mouse input into map
// points for the current tool, and runs the paint pass in which the tool commits its work.
#pragma once

#include <QAbstractScrollArea>
#include <functional>
#include <memory>
#include <vector>

#include "doc/page_layout.h"
#include "doc/zk_doc.h"
#include "gdi/bitmap.h"
#include "gdi/dc.h"
#include "tools/ellipse_tool.h"
#include "tools/freehand_tool.h"
#include "tools/grid_tiles_tool.h"
#include "tools/lines_tool.h"
#include "tools/map_tool.h"
#include "tools/polygon_tool.h"
#include "tools/rectangle_tool.h"
#include "tools/select_tool.h"
#include "tools/symbol_tool.h"
#include "tools/text_tool.h"
#include "tools/tiles_tool.h"

class QPainter;
class QPrinter;

namespace zk {

class CZKView : public QAbstractScrollArea, public DocListener, public MapViewInterface {
    Q_OBJECT
  public:
    static constexpr gdi::Color kGridDotColor = 0xBBBBBB;
    static constexpr gdi::Color kOutsideColor = 0xDDDDDD;
    // Grid dots closer than this many window pixels would hide the map: none are drawn then.
    static constexpr int kMinGridDotSpacing = 4;

    explicit CZKView(CZKDoc* doc, QWidget* parent = nullptr);
    ~CZKView() override;

    CZKDoc* GetDocument() const { return m_doc; }

    // At start-up and after every Open: zoom 1, grid on, the tool named by the settings.
    void OnInitialUpdate();
    void OnUpdate(int hint) override;

    gdi::Point WindowToMap(int x, int y) const;
    void UpdateScrollSizes();
    using MapViewInterface::InvalidateMapRect;
    void InvalidateMapRect(int left, int top, int right, int bottom) override;
    void InvalidateAll() override;

    // Makes the tool of that kind current (no tool for an unknown kind) and tells the frame.
    void SelectTool(int kind);
    MapTool* ToolOfKind(int kind);
    MapTool* CurrentTool() const { return m_pTool; }
    // Commits whatever the current tool has queued for the map now, rather than at the next
    // paint: before a snapshot, a tool change or a command, so the work lands where it belongs.
    void CommitToolWork();
    // A floating selection lands where it floats (with its mode), now: before anything reads or
    // replaces the whole map, and when another tool is made current.
    void LandSelection();
    // Escape: the current tool's unfinished work is forgotten (a floating selection lands).
    void CancelToolWork();
    // A new map replaced the old one: no tool keeps anything of the old map's gestures.
    void ForgetToolWork();
    // Undo and Redo move through the history of the map as the screen shows it: queued work and
    // a floating selection land first. A selection is one step from its lift to its drop, so
    // Undo never leaves a floating copy over restored pixels.
    void OnEditUndo();
    void OnEditRedo();
    bool CanUndo() const;
    bool CanRedo() const;

    // The zoom commands keep the map point at the centre of the window in place.
    void OnZoomIn();
    void OnZoomOut();
    // "Celá mapa": the largest zoom step at which the whole map shows without scrolling.
    void OnZoomFit();
    // "Skutečná velikost": zoom 1.
    void OnZoomActual();
    // Zooms in (factor 2) or out (factor 0.5) within ToolSettings::kMinZoom .. kMaxZoom, keeping
    // the map pixel under the window point `anchor` under it as far as the scroll range allows;
    // false at a limit.
    bool ZoomAround(float factor, QPoint anchor);
    // The same for any zoom step (held within the limits); false when it is the zoom already.
    bool ZoomAt(float zoom, QPoint anchor);
    void OnGrid();
    // Grid larger doubles a step below 64; grid smaller halves a step above 4.
    void OnGridLarger();
    void OnGridSmaller();

    // The settings dialog's OK: the grid step and the overhanging-edge flag are taken, and the
    // map is resized only when the width or height differs from it. False (with the reason) when
    // the size is refused; the grid and flag are taken all the same.
    bool ApplySettings(int grid, int overgrid, int width, int height, std::string* why = nullptr);

    // The clipboard holds a picture, which other programs read as PNG or BMP. Cut and Copy act on
    // the select tool's floating pixels whichever tool is current; Copy puts a copy of them
    // there, and Cut then forgets the selection (the place it was lifted from stays white). Both
    // return false when nothing reached the clipboard.
    bool OnEditCopy();
    bool OnEditCut();
    // Any picture another program offers (PNG, BMP, JPEG ...; transparency laid on white) becomes
    // the select tool's floating selection at PastePoint() (what floated before lands first), and
    // the select tool becomes current;
    // the view scrolls, if need be, to show the picture's top-left corner. False when nothing was
    // pasted; `why` then says why, unless the clipboard held no picture at all. A picture larger
    // than a map may be is refused.
    bool OnEditPaste(std::string* why = nullptr);
    bool CanCutOrCopy() const;
    // Where a pasted picture's top-left corner goes: the map point under the pointer (on the
    // grid as a press of the select tool would be) when the pointer is over the map, else the
    // top-left map pixel the window shows.
    gdi::Point PastePoint() const;
    // Scrolls as little as it takes for the window to show map point `p`.
    void ScrollToShow(gdi::Point p);
    bool CanPaste() const;

    // Printing: one page, the whole map as large as the printable area allows, centred and
    // undistorted. A floating selection lands first.
    void OnFilePrint();
    // The print at true scale: its dialog, then the printer's own, or the preview of every page.
    void OnFilePrintScaled();
    // The print at scale's dialog alone, its print button named `action`: true when the user
    // goes on, with the choices in ScaledOptions() and the paper in Printer().
    bool AskScaledPrint(const QString& action);
    const ScaledPrintOptions& ScaledOptions() const { return m_scaledOptions; }
    // `pages` is how many pages the preview shows side by side (1 or 2), kept between runs.
    void OnFilePrintPreview(int& pages);
    // Prints the map on `printer`'s one page; false when nothing could be printed.
    bool OnPrint(QPrinter& printer);
    static bool PrintMap(const CZKDoc& doc, QPrinter& printer);
    // The largest rectangle of the map's proportions inside an area, centred in it.
    static gdi::Rect FitCentred(int width, int height, int areaWidth, int areaHeight);
    // Draws the map fitted into `page` (device pixels of the painter).
    static bool RenderPage(const CZKDoc& doc, QPainter& painter, const QRect& page);
    // The printer the print commands share (its setup is kept between them).
    QPrinter& Printer();

    // The grid dots' logical window columns (or rows) in [from, to) for a map side of
    // `mapSize` pixels: one at trunc(k * grid * zoom) for every grid line k, none when they would
    // stand closer than kMinGridDotSpacing.
    static std::vector<int> GridDotPositions(int from, int to, int mapSize);

    // The window picture of the last paint: exactly what the user sees.
    const gdi::Bitmap& WindowPicture() const { return m_window; }
    // Paints the whole view now, without waiting for the event loop.
    void PaintNow();

    // Called whenever the current tool changes (the frame shows the matching size images).
    std::function<void()> m_onToolChanged;
    // Called when the view marks the map modified (the frame's title shows it), and when the
    // pointer's map point, the zoom or the map's size changed (the status bar shows them).
    std::function<void()> m_onModified;
    std::function<void()> m_onStatusChanged;
    // A mouse button came up: a gesture is finished (its last pixels land in the next paint).
    std::function<void()> m_onGestureFinished;
    // The map pixel under the pointer, unsnapped; false while the pointer is not over the map.
    bool PointerOnMap(gdi::Point* p) const;

    int m_gridOn = 1;
    MapTool* m_pTool = nullptr;
    // The ten tools, in the order of their kinds' table.
    TilesTool m_tilesTool;
    FreehandTool m_freehandTool;
    RectangleTool m_rectangleTool;
    EllipseTool m_ellipseTool;
    PolygonTool m_polygonTool;
    GridTilesTool m_gridTilesTool;
    TextTool m_textTool;
    SymbolTool m_symbolTool;
    // Qualified: inside the view, SelectTool names the member function.
    zk::SelectTool m_selectTool;
    LinesTool m_linesTool;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    bool viewportEvent(QEvent* event) override;

  private:
    // The paint pass (commit, stretched copy, grid dots, overlay) into the window picture, limited
    // to `clip` (device pixels).
    void OnDraw(const gdi::Rect& clip);
    // Sizes the window picture to the window and runs the paint pass over `r`.
    void Render(const QRect& r);
    gdi::Point ScrollPos() const;

    // Where the pointer was last seen over the window, and the tool told of it.
    void NotePointer(const QPointF& position, unsigned flags);
    // Sets the scroll bars' ranges and steps for the map at the zoom.
    void ApplyScrollRanges();
    void MarkModified();
    // The tool's unfinished work goes to the map now, marking it modified when it changes it.
    void Commit(MapTool& tool);
    void MoveTool(unsigned flags);
    void RefreshPointer();
    QPoint m_pointer;
    bool m_pointerOver = false;
    unsigned m_pointerFlags = 0;
    gdi::Point m_toolPoint;
    bool m_toolPointKnown = false;
    // While a zoom sets the scroll bars one after the other, the tool is not told of the
    // half-way points.
    bool m_adjustingScroll = false;
    int m_wheelZoom = 0;  // wheel turns toward the next zoom step, in eighths of a degree

    CZKDoc* m_doc;
    gdi::Bitmap m_window;
    std::unique_ptr<QPrinter> m_printer;
    // The print at scale's choices, kept for its next run.
    ScaledPrintOptions m_scaledOptions;
};

}  // namespace zk
