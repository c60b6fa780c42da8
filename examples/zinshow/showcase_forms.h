// The showcase's windows: a form with a painted background carrying a windowed and a graphic
// player, and a borderless form that a layered player turns into the movie's own shape.
#pragma once

#include "zintara/framework/forms.h"
#include "zintara/zn_flashplayer.h"
#include "zintara/zn_layer.h"

#include <string>

namespace zn::zinshow {

// Diagonal stripes, so that what shows through the graphic player and the layer is plain.
class TStripedForm : public TForm {
public:
    // Plugin is the Flash host each player prefers.
    TStripedForm(TComponent* AOwner, const std::wstring& Movie, TznPlugin Plugin);

    TznFlashPlayerWnd* Windowed = nullptr;
    TznFlashPlayer* Graphic = nullptr;

protected:
    void PaintWindow(HDC DC) override;
};

// A popup window without border or caption: the layer's buffer becomes the whole window.
class TLayerForm : public TForm {
public:
    TLayerForm(TComponent* AOwner, const std::wstring& Movie, TznPlugin Plugin);

    TznFlashLayer* Layer = nullptr;

protected:
    void CreateParams(TCreateParams& Params) override;
};

} // namespace zn::zinshow
