#include "catalogue/catalogue.h"

#include "base/TMemoryStream.h"
#include "catalogue/DocumentReading.h"
#include "http/http_client.h"
#include "json/json.h"
#include "picture/picture.h"

#include <set>
#include "ui/ui.h"

namespace {

const std::string DownloadNotice = " \xD5\xFD\xD4\xDA\xCD\xAC\xB2\xBD\xC9\xCC\xC6\xB7\xCA\xFD\xBE\xDD......"; // 正在同步商品数据
constexpr int ProgressPerPicture = 4;

// "host:port" of a picture address, the client's current host for a relative one.
std::string HostKeyOf(const TNxHTTP& client, const std::string& url)
{
    TNxURI uri = TNxURI::Split(url);
    std::string host = uri.Host.empty() ? client.URL().Host : uri.Host;
    std::string port = !uri.Port.empty() ? uri.Port : uri.Host.empty() ? client.URL().Port : "80";
    for (char& c : host) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return host + ":" + port;
}

// A connect or a wait that ran out its limit: that host is dead or silent.
bool IsTimeout(const std::exception& e)
{
    if (dynamic_cast<const ENxReadTimeout*>(&e))
        return true;
    const auto* socket_error = dynamic_cast<const ENxSocketError*>(&e);
    return socket_error && socket_error->LastError() == 10060;
}

} // namespace

void DownloadPagePictures(TForm1Controls& Form1, TNxHTTP& client, TQvJSONbase* items, int32_t page)
{
    try {
        const int32_t count = items ? items->ChildCount() : 0;
        const int32_t half = count / 2;
        int64_t running_total = 0;
        PictureSizes.assign(static_cast<size_t>(half) + 1, 0);
        PictureStore = std::make_unique<TMemoryStream>();

        const int32_t first = page % 2 == 0 ? 0 : half;
        const int32_t last = page % 2 == 0 ? half - 1 : count - 1;

        Form1.ProgressBar1->SetPosition(0);
        Form1.ProgressBar1->SetVisible(true);
        Form1.Form->SetCaption(AppTitle + DownloadNotice);

        // Hosts that timed out in this run get no second try: a dead picture
        // host costs one limit per page, not one per picture.
        std::set<std::string> timed_out_hosts;
        for (int32_t i = first; i <= last; ++i) {
            std::string host;
            try {
                const std::string url = MemberText(items->ChildAt(i), "pic_url");
                host = HostKeyOf(client, url);
                if (timed_out_hosts.count(host) != 0)
                    continue;
                PictureStore->Seek(0, TMemoryStream::SeekOrigin::End);
                client.Get(url, *PictureStore);
                Form1.ProgressBar1->StepBy(ProgressPerPicture);
                const size_t k = static_cast<size_t>(i - first);
                PictureSizes.at(k) = static_cast<int32_t>(PictureStore->Size() - running_total);
                running_total += PictureSizes[k];
                if (StopPictureDownload)
                    break;
            } catch (const std::exception& e) {
                if (IsTimeout(e) && !host.empty())
                    timed_out_hosts.insert(host);
                // Drop what a broken-off transfer left, so it cannot become
                // the head of the next picture.
                PictureStore->SetSize(running_total);
                PictureStore->SetPosition(running_total);
            }
        }
    } catch (const std::exception&) {
    }
    Form1.ProgressBar1->SetVisible(false);
    Form1.Form->SetCaption(AppTitle);
}

void ShowStoredPicture(TForm1Controls& Form1, int32_t slot)
{
    try {
        TPicture& picture = Form1.Image1->Picture();
        // A slot with nothing recorded has no picture of its own.
        if (!PictureStore || slot < 0 || static_cast<size_t>(slot) >= PictureSizes.size() ||
            PictureSizes[static_cast<size_t>(slot)] <= 0) {
            picture.Clear();
            return;
        }
        int64_t offset = 0;
        for (int32_t k = 0; k < slot; ++k)
            offset += PictureSizes[static_cast<size_t>(k)];
        TMemoryStream bytes;
        PictureStore->SetPosition(offset);
        bytes.CopyFrom(*PictureStore, PictureSizes[static_cast<size_t>(slot)]);
        bytes.SetPosition(0);
        TJPEGImage jpeg;
        jpeg.LoadFromStream(bytes);
        picture.Assign(&jpeg);
    } catch (const std::exception&) {
        // Image1 keeps the picture it had.
    }
}
