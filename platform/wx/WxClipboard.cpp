#include "platform/wx/WxClipboard.h"

#include "platform/wx/WxPicture.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/image.h>

#include <gtk/gtk.h>

#include <memory>

namespace {

// Opens the clipboard for one call and closes it however the call ends.
class OpenClipboard {
public:
    OpenClipboard() : open_(wxTheClipboard->Open()) { wxTheClipboard->UsePrimarySelection(false); }
    ~OpenClipboard() {
        if (open_)
            wxTheClipboard->Close();
    }
    OpenClipboard(const OpenClipboard&) = delete;
    OpenClipboard& operator=(const OpenClipboard&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

const char* BestPictureType() {
    for (const char* type : WxClipboard::kPictureTypes)
        if (wxTheClipboard->IsSupported(wxDataFormat(type)))
            return type;
    return nullptr;
}

// The owner's bytes of one type; none when it hands over nothing. Read through GTK: the
// toolkit's own reading fails an assertion on an owner that answers with no bytes.
std::vector<BYTE> ReadTarget(const char* type) {
    std::vector<BYTE> bytes;
    GtkSelectionData* data = gtk_clipboard_wait_for_contents(
        gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), gdk_atom_intern(type, FALSE));
    if (!data)
        return bytes;
    gint length = 0;
    const guchar* raw = gtk_selection_data_get_data_with_length(data, &length);
    if (raw && length > 0)
        bytes.assign(raw, raw + length);
    gtk_selection_data_free(data);
    return bytes;
}

} // namespace

const WxClipboard::Offers& WxClipboard::CurrentOffers() const {
    const auto now = std::chrono::steady_clock::now();
    if (offers_ && now - offers_->at < kOffersKept)
        return *offers_;
    Offers o;
    o.at = now;
    OpenClipboard open;
    if (open) {
        o.text =
            wxTheClipboard->IsSupported(wxDF_UNICODETEXT) || wxTheClipboard->IsSupported(wxDF_TEXT);
        o.picture = BestPictureType() != nullptr;
    }
    offers_ = o;
    return *offers_;
}

bool WxClipboard::OffersText() const {
    return CurrentOffers().text;
}

bool WxClipboard::OffersPicture() const {
    return CurrentOffers().picture;
}

std::optional<std::string> WxClipboard::ReadText() {
    // GTK converts whichever text type the owner offers, and an owner with no bytes is no
    // text rather than the toolkit's assertion.
    gchar* text = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
    if (!text)
        return std::nullopt;
    std::string result(text);
    g_free(text);
    return result;
}

std::optional<ClipboardPicture> WxClipboard::ReadEncodedPicture() {
    const char* type = nullptr;
    {
        OpenClipboard open;
        type = open ? BestPictureType() : nullptr;
    }
    if (!type)
        return std::nullopt;
    return ClipboardPicture{type, ReadTarget(type)};
}

std::optional<RgbaPicture> WxClipboard::ReadPicture() {
    OpenClipboard open;
    wxBitmapDataObject data;
    if (!open || !wxTheClipboard->GetData(data) || !data.GetBitmap().IsOk())
        return std::nullopt;
    const wxImage image = data.GetBitmap().ConvertToImage();
    RgbaPicture p;
    p.width = image.GetWidth();
    p.height = image.GetHeight();
    p.rgba.resize(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 4);
    BYTE* out = p.rgba.data();
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            *out++ = image.GetRed(x, y);
            *out++ = image.GetGreen(x, y);
            *out++ = image.GetBlue(x, y);
            *out++ = image.HasAlpha() ? image.GetAlpha(x, y) : 255;
        }
    return p;
}

bool WxClipboard::WriteText(const std::string& text) {
    Forget();
    OpenClipboard open;
    return open && wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(text)));
}

bool WxClipboard::WritePicture(const RgbaPicture& picture) {
    Forget();
    OpenClipboard open;
    return open && !picture.Empty() &&
           wxTheClipboard->SetData(new wxBitmapDataObject(WxBitmapFromPicture(picture)));
}

bool WxClipboard::WriteEncodedPictures(const std::vector<ClipboardPicture>& pictures) {
    Forget();
    OpenClipboard open;
    if (!open || pictures.empty())
        return false;
    auto all = std::make_unique<wxDataObjectComposite>();
    bool first = true;
    for (const ClipboardPicture& p : pictures) {
        auto one = std::make_unique<wxCustomDataObject>(wxDataFormat(p.mimeType));
        one->SetData(p.bytes.size(), p.bytes.data());
        all->Add(one.release(), first); // the composite owns its parts
        first = false;
    }
    return wxTheClipboard->SetData(all.release()); // the clipboard owns what it holds
}

bool WxClipboard::Flush() {
    return wxTheClipboard->Flush();
}
