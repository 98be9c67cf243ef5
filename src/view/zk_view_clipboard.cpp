// Cut, copy and paste through the system clipboard. The clipboard holds a QImage, which the
// platform offers to other programs in every image format it can write (PNG and BMP among them);
// a paste reads whatever image format another program offers.
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <new>

#include "tools/tool_settings.h"
#include "ui/window_picture.h"
#include "view/zk_view.h"

namespace zk {

namespace {

QClipboard* Clipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance())
               ? QGuiApplication::clipboard()
               : nullptr;
}

std::string SizeRefusal(QSize size) {
    const std::string e = CZKDoc::CheckSize(size.width(), size.height());
    if (e.empty())
        return {};
    return "it is " + std::to_string(size.width()) + " x " + std::to_string(size.height()) +
           " pixels, and a map may have at most 65535 pixels a side and 268435456 pixels in all";
}

// The image formats worth trying, lossless ones first.
QStringList ImageFormats(const QMimeData& data) {
    const QStringList offered = data.formats();
    QStringList formats;
    for (const char* f : {"image/png", "image/bmp", "image/x-bmp", "image/x-ms-bmp"})
        for (const QString& o : offered)
            if (o.compare(QLatin1String(f), Qt::CaseInsensitive) == 0 && !formats.contains(o))
                formats << o;
    for (const QString& o : offered)
        if (o.startsWith(QLatin1String("image/"), Qt::CaseInsensitive) && !formats.contains(o))
            formats << o;
    return formats;
}

// Whether the clipboard holds a picture: our own, or one in any image format another program
// offers.
bool OffersImage(const QMimeData* data) {
    return data && (data->hasImage() || !ImageFormats(*data).isEmpty());
}

// The picture on the clipboard. An encoded picture is measured before it is decoded, so one that
// is too large is refused without the memory being spent on it. Null with `why` set when a
// picture was there but could not be taken.
QImage ClipboardImage(const QMimeData& data, std::string& why) {
    for (const QString& format : ImageFormats(data)) {
        QBuffer buffer;
        buffer.setData(data.data(format));
        if (buffer.data().isEmpty() || !buffer.open(QIODevice::ReadOnly))
            continue;
        QImageReader reader(&buffer);
        if (!reader.canRead())
            continue;
        const QSize size = reader.size();
        if (size.isValid()) {
            why = SizeRefusal(size);
            if (!why.empty())
                return {};
            // The size is one a map may have: the reader's own smaller limit must not refuse it.
            reader.setAllocationLimit(0);
        }
        QImage image = reader.read();
        if (!image.isNull()) {
            why = SizeRefusal(image.size());
            return why.empty() ? image : QImage();
        }
    }
    // Our own copy, or a picture the platform has already decoded.
    if (data.hasImage()) {
        QImage image = qvariant_cast<QImage>(data.imageData());
        if (!image.isNull()) {
            why = SizeRefusal(image.size());
            return why.empty() ? image : QImage();
        }
    }
    why = "it is in a form that cannot be read";
    return {};
}

// The picture as a display-format bitmap, transparent parts laid on white.
bool ImageToBitmap(const QImage& picture, gdi::Bitmap& bitmap) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return false;
    try {
        bitmap = gdi::Bitmap(image.width(), image.height(), 32, gdi::kWhite);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int y = 0; y < image.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        gdi::Color* to = bitmap.Row(y);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = from[x];
            const int a = qAlpha(p);
            to[x] = a == 255 ? (p & 0xFFFFFFu) : gdi::OnWhite(qRed(p), qGreen(p), qBlue(p), a);
        }
    }
    return true;
}

}  // namespace

bool CZKView::CanCutOrCopy() const {
    return m_selectTool.GetFloatingBitmap() != nullptr;
}

bool CZKView::CanPaste() const {
    const QClipboard* clipboard = Clipboard();
    return OffersImage(clipboard ? clipboard->mimeData() : nullptr);
}

bool CZKView::OnEditCopy() {
    // A band just released is lifted first, so that what is copied is what the user marked.
    CommitToolWork();
    const gdi::Bitmap* selection = m_selectTool.GetFloatingBitmap();
    QClipboard* clipboard = Clipboard();
    if (!selection || !clipboard)
        return false;
    // A selection of no width or height is no picture any program could take: the clipboard
    // keeps what it holds.
    if (selection->IsNull())
        return true;
    // A separate image: later changes to the selection never reach what is on the clipboard.
    const QImage image = ImageOf(*selection, selection->Bounds());
    if (image.isNull())
        return false;
    clipboard->setImage(image);
    return true;
}

bool CZKView::OnEditCut() {
    if (!OnEditCopy())
        return false;
    // Pixels lifted out of the map leave white behind; pasted ones leave the map as it was.
    if (m_selectTool.LiftedFrom())
        MarkModified();
    m_selectTool.ClearSelection();
    InvalidateAll();
    return true;
}

bool CZKView::OnEditPaste(std::string* why) {
    std::string reason;
    const QClipboard* clipboard = Clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!OffersImage(data))
        return false;
    const QImage image = ClipboardImage(*data, reason);
    gdi::Bitmap bitmap;
    if (!image.isNull() && !ImageToBitmap(image, bitmap))
        reason = "there is not enough memory for it";
    if (bitmap.IsNull()) {
        if (why)
            *why = reason;
        return false;
    }
    // Whatever floats lands where it floats before the pasted pixels take the selection's
    // place: a paste never leaves a lifted selection's place white.
    CommitToolWork();
    LandSelection();
    // The pasted picture is a gesture of its own: one Undo takes it back, floating or dropped.
    m_doc->SaveUndo();
    const gdi::Point at = PastePoint();
    m_selectTool.PasteBitmap(std::move(bitmap), at);
    SelectTool(kSelectTool);
    ScrollToShow(at);
    return true;
}

gdi::Point CZKView::PastePoint() const {
    gdi::Point p;
    if (PointerOnMap(&p))
        return m_gridOn ? SnapDown(p.x, p.y) : p;  // the select tool's own snapping
    // The first map pixel whose left (top) edge the window shows, within the map.
    const gdi::Point scroll = ScrollPos();
    const auto first = [](int s, int size) {
        return std::clamp(CeilToMap(s, ToolSettings::zoom), 0, std::max(0, size - 1));
    };
    return {first(scroll.x, m_doc->m_width), first(scroll.y, m_doc->m_height)};
}

void CZKView::ScrollToShow(gdi::Point p) {
    const auto show = [](QScrollBar* bar, int v, int windowSize) {
        const int at = ToWindow(v, ToolSettings::zoom);
        if (at < bar->value() || at >= bar->value() + windowSize)
            bar->setValue(at);
    };
    show(horizontalScrollBar(), p.x, viewport()->width());
    show(verticalScrollBar(), p.y, viewport()->height());
}

}  // namespace zk
