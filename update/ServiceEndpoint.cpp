#include "update/ServiceEndpoint.h"

ServiceEndpoint GetUpdateServiceEndpoint() { return {QUILLORA_UPDATE_HOST, QUILLORA_UPDATE_PORT}; }

const wchar_t* GetProductWebSiteHost() { return L"www.quillora.com"; }
