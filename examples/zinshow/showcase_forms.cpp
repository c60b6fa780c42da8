// The striped form with its two players, and the layered form.
#include "showcase_forms.h"

namespace zn::zinshow {

TStripedForm::TStripedForm(TComponent* AOwner, const std::wstring& Movie, TznPlugin Plugin)
    : TForm(AOwner)
{
    SetCaption(L"Zintara components");
    SetBounds(20, 20, 700, 300);
    Windowed = new TznFlashPlayerWnd(this);
    Windowed->SetBounds(10, 10, 320, 240);
    Windowed->SetParent(this);
    Graphic = new TznFlashPlayer(this);
    Graphic->SetBounds(350, 10, 320, 240);
    Graphic->SetParent(this);
    Windowed->SetPlugin(Plugin);
    Graphic->SetPlugin(Plugin);
    Windowed->SetMovie(Movie);
    Graphic->SetMovie(Movie);
}

void TStripedForm::PaintWindow(HDC DC)
{
    const TRect client = ClientRect();
    HBRUSH light = CreateSolidBrush(RGB(0xF0, 0xE0, 0x90));
    HBRUSH dark = CreateSolidBrush(RGB(0x30, 0x50, 0x90));
    for (int y = 0; y < client.Height(); y += 8)
        for (int x = 0; x < client.Width(); x += 8) {
            const RECT cell{x, y, x + 8, y + 8};
            FillRect(DC, &cell, ((x + y) / 8) % 4 < 2 ? light : dark);
        }
    DeleteObject(light);
    DeleteObject(dark);
}

TLayerForm::TLayerForm(TComponent* AOwner, const std::wstring& Movie, TznPlugin Plugin)
    : TForm(AOwner)
{
    // Over the lower right of the striped form, so the stripes show through the movie.
    SetBounds(420, 160, 320, 240);
    Layer = new TznFlashLayer(this);
    Layer->SetParent(this);
    Layer->SetMasterAlpha(230);
    Layer->SetPlugin(Plugin);
    Layer->SetMovie(Movie);
}

void TLayerForm::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
}

} // namespace zn::zinshow
