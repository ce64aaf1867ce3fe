#pragma once

// The maker's own addresses and lines, in one place so the welcome area, the about box and the
// error texts never disagree.
namespace veltrin::branding {

inline constexpr char SupportEmail[] = "support@veltrin.example";
inline constexpr char SupportUrl[] = "https://support.veltrin.example/";
inline constexpr char WebSite[] = "https://www.veltrin.example/";
inline constexpr char Copyright[] = "Copyright \u00a9 2015\u20132026 Veltrin Ltd. All rights reserved.";

}  // namespace veltrin::branding
