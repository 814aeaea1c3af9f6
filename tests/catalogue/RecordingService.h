#pragma once

#include <memory>
#include <string>
#include <vector>

// The sample catalogue service on a free loopback port, recording the target
// of every request it receives. On Linux it runs in this process; a Windows
// test program under Wine reads the stand-in service the test run started
// beside it, through that service's access log.
class RecordingService {
public:
    RecordingService();
    ~RecordingService();
    RecordingService(const RecordingService&) = delete;
    RecordingService& operator=(const RecordingService&) = delete;

    std::string BaseUrl() const;
    // Targets below /kestrid/, e.g. "idf.php?cq=50200001&cp=96", in arrival order.
    std::vector<std::string> Requests() const;
    // Only the catalogue documents (ide.php, idf.php).
    std::vector<std::string> CatalogueRequests() const;
    int PictureRequests() const;
    void ClearRequests();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
