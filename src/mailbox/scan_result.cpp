// A scan into a result of its own, stamped with the time it ended.
#include "mailbox/scan_result.h"

SharedScanResult RunScan(const ScanRequest& request, const ScanThreading& threading) {
    auto result = std::make_shared<ScanResult>();
    result->request = request;
    result->hierarchyRead = result->catalogue.Scan(request, &result->details, threading);
    if (threading.control && threading.control->IsCancelled()) {
        return nullptr;
    }
    result->scanTime = platform::LocalTimeOfDay();
    return result;
}
