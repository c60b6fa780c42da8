// Loading: movies and the files a movie asks for, fetched through the container's bind host,
// and the movie that arrives.
#include "control.h"

#include "control_log.h"

#include "common/local_security.h"
#include "znswf/movie_player.h"

#include <algorithm>

namespace zn::ax {

void Control::RequestUrl(const std::string& url, const std::string& target)
{
    if (!player::IsRequestAllowed(Utf8(movieUrl_), url, localSecurityLifted_)) {
        LogCall("Movie.RequestRefused", Identity()).Text("url", url).Record();
        return;
    }
    // A movie loaded into level 0 replaces this one; everything else is a file it fetches.
    StartDownload(Wide(url), target == "_level0" ? MovieDownload::Purpose::Movie
                                                 : MovieDownload::Purpose::MovieFile);
}

STDMETHODIMP Control::LoadMovie(int layer, BSTR url)
{
    LogCall("IznFlashPlayer.LoadMovie", Identity())
        .Number("layer", layer)
        .Text("url", url)
        .Record();
    if (RefuseAfterClose("IznFlashPlayer.LoadMovie"))
        return E_UNEXPECTED;
    // Levels above 0 would stack movies; this player shows one.
    if (layer != 0)
        return E_INVALIDARG;
    if (!url || !*url)
        return S_OK;
    Scope scope(*this);
    return StartDownload(std::wstring(url, SysStringLen(url)), MovieDownload::Purpose::Movie);
}

HRESULT Control::RequestFile(const std::wstring& url)
{
    Scope scope(*this);
    return StartDownload(url, MovieDownload::Purpose::MovieFile);
}

HRESULT Control::StartDownload(const std::wstring& url, MovieDownload::Purpose purpose)
{
    if (closed_)
        return E_UNEXPECTED;
    IBindHost* bind_host = nullptr;
    IServiceProvider* services = nullptr;
    if (clientSite_ &&
        SUCCEEDED(clientSite_->QueryInterface(IID_IServiceProvider,
                                              reinterpret_cast<void**>(&services))) &&
        services) {
        HRESULT hr = services->QueryService(SID_IBindHost, IID_IBindHost,
                                            reinterpret_cast<void**>(&bind_host));
        LogCall("Site.QueryService", Identity())
            .Text("service", "IBindHost")
            .Address("object", bind_host)
            .Result(hr)
            .Record();
        if (SUCCEEDED(hr) && !bind_host)
            Violation("IServiceProvider.QueryService succeeded without an object");
        if (FAILED(hr))
            bind_host = nullptr;
        services->Release();
    }
    auto* download = new MovieDownload(*this, Identity(), url, purpose);
    downloads_.push_back(download);
    if (purpose == MovieDownload::Purpose::Movie)
        SetReadyState(READYSTATE_LOADING);
    HRESULT hr = download->Start(bind_host);
    if (bind_host)
        bind_host->Release();
    return hr;
}

void Control::DownloadEnded(MovieDownload& download, HRESULT status)
{
    Scope scope(*this);
    auto found = std::find(downloads_.begin(), downloads_.end(), &download);
    if (found == downloads_.end())
        return;
    downloads_.erase(found);
    LogCall("Download.End", Identity())
        .Text("url", download.Url().c_str())
        .Number("bytes", static_cast<long long>(download.Bytes().size()))
        .Result(status)
        .Record();
    const bool arrived = SUCCEEDED(status) || !download.Bytes().empty();
    if (download.GetPurpose() == MovieDownload::Purpose::Movie) {
        if (arrived)
            MovieArrived(download.Bytes(), download.Url());
        else
            SetReadyState(READYSTATE_COMPLETE);
    } else if (movie_) {
        // Files a movie fetches (a movie for a clip, a video) go to the movie that asked, whole
        // or not at all.
        if (SUCCEEDED(status))
            movie_->UrlArrived(Utf8(download.Url()), download.Bytes());
        else
            movie_->UrlFailed(Utf8(download.Url()));
    }
    download.Release();
}

void Control::MovieArrived(const std::vector<std::uint8_t>& bytes, const std::wstring& url)
{
    timer_.Stop();
    // The movie being replaced may be the one whose script asked for this.
    if (movie_)
        retiredMovies_.push_back(std::move(movie_));
    movieUrl_ = url;
    movie_ = std::make_unique<swf::MoviePlayer>(static_cast<swf::PlayerHost&>(*this));
    movie_->SetViewSize(Width(), Height());
    movie_->SetLoop(loop_);
    swf::MoviePlayer& movie = *movie_;
    movie.Load(bytes);
    if (closed_ || movie_.get() != &movie)
        return;
    if (movie.HasMovie())
        timer_.Start([this] { AdvanceFrame(); }, movie.FrameRate());
    VARIANT percent;
    percent.vt = VT_I4;
    percent.lVal = 100;
    FireEvent(1958, &percent, 1);
    SetReadyState(READYSTATE_COMPLETE);
    if (active_)
        SiteInvalidate(&position_);
}

} // namespace zn::ax
