#include "Splash.h"

#include "GIFImage.h"
#include "PictureFormats.h"
#include "Streams.h"

std::unique_ptr<TSplash> Splash;

namespace {

TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Splash";
    params.style = WS_POPUP;
    params.exStyle = WS_EX_TOOLWINDOW;
    params.formStyle = TFormStyle::fsStayOnTop;
    params.position = TPosition::poScreenCenter;
    return params;
}

} // namespace

std::unique_ptr<TGraphic> LoadSplashPicture()
{
    RegisterGIFImage();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(instance, "SPLASH", MAKEINTRESOURCEA(10)); // RT_RCDATA
    HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return nullptr;
    TMemoryStream stream;
    stream.WriteBuffer(data, SizeofResource(instance, resource));
    stream.SetPosition(0);
    return ReadStoredGraphic(stream);
}

TSplash::TSplash() : TForm(Params())
{
    SetName("Splash");
    Image.SetName("Image");
    picture_ = LoadSplashPicture();
    Image.SetGraphic(picture_.get());
    OnShow = [this] { FormShow(); };
    DoCreate();
}

void TSplash::FormShow()
{
    const int width = picture_ ? picture_->Width() : 0;
    const int height = picture_ ? picture_->Height() : 0;
    Image.SetBounds(0, 0, width, height);
    SetClientSize(width, height);
    SetPosition(TPosition::poScreenCenter);
}

void ShowSplash()
{
    Splash = std::make_unique<TSplash>();
    Splash->FormShow();
    ShowWindow(Splash->Handle(), SW_SHOWNOACTIVATE);
    Splash->Update();
}

void CloseSplash() { Splash.reset(); }
