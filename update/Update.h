#pragma once
// The update client's public face: requests to the update service, the version check, the download
// and install hand-over, and the What's New window.

#include "update/DownloadProgressWindow.h"
#include "update/FormEncoding.h"
#include "update/HttpResponse.h"
#include "update/HttpsRequest.h"
#include "update/ProductIdentity.h"
#include "update/ProductInfo.h"
#include "update/ProgramDownload.h"
#include "update/RequestToken.h"
#include "update/SelfInstall.h"
#include "update/ServiceEndpoint.h"
#include "update/VersionCheck.h"
#include "update/WhatsNewWindow.h"
