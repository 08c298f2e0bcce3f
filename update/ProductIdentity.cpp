#include "update/ProductIdentity.h"

#include <utility>

ProductIdentity BatchImportIdentity()
{
    return {"Quillora Batch File Import", "1.3.0", L"Quillora Batch File Import", std::string("Sheafin.") + "x86",
            L"1.3.0"};
}

ProductIdentity CalendarIdentity() { return {"Dayloom", "1.18.1", L"Dayloom", "Dayloom", L"1.18.1"}; }

namespace
{
ProductIdentity& RunningProduct()
{
    static ProductIdentity identity = BatchImportIdentity();
    return identity;
}
} // namespace

const ProductIdentity& GetRunningProduct() { return RunningProduct(); }

void SetRunningProduct(ProductIdentity identity) { RunningProduct() = std::move(identity); }

const char* GetProductName() { return RunningProduct().name.c_str(); }

const char* GetProductVersion() { return RunningProduct().version.c_str(); }
