#pragma once

#include "hosting/FailureMessages.h"

namespace Tesmo::Tests
{

// The texts live with the host, which names the failing step from them.
using PluginHost::factoryFailed, PluginHost::openFailed, PluginHost::frameCountFailed, PluginHost::frameFailed;
using PluginHost::sizeFailed, PluginHost::converterFailed, PluginHost::initializeFailed, PluginHost::copyFailed;
using PluginHost::failureMessages;

} // namespace Tesmo::Tests
