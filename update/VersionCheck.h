#pragma once
// Whether the update service offers a version other than the running one.

#include <string>

// The body of the service's "getVersion" answer for the product, unaltered.
std::string GetLatestVersion(const std::string& productName);

// True when a "getVersion" answer, trimmed of white space, is a version number (digits and dots)
// other than the running version: the one rule both programs offer an update by.
bool IsOfferedVersion(const std::string& answer);

// True when the service's version, trimmed of white space, is a version number (digits and dots)
// other than the running version. There is no ordering: an older number is offered too. An empty
// or garbled answer and any request error mean no update.
bool IsNewerVersionAvailable(const std::string& productName);
