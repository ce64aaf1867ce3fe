#pragma once

// Standalone Asio (header-only, no Boost); ASIO_STANDALONE comes from the build.
#include <asio.hpp>
