#pragma once

namespace Tesmo::PluginHost
{

// The one debugger message GetImageData sends when a step fails, in the order the steps
// run (docs/hosts.md, "Failures and their messages", shows them to people). The host tool names the
// failing step from them, the tests check them.
inline constexpr const wchar_t* factoryFailed = L"[WIC_Plugin] CoCreateInstance( CLSID_WICImagingFactor ) Failed!";
inline constexpr const wchar_t* openFailed = L"[WIC_Plugin] IWICImagingFactory->CreateDecoderFromFilename( ) Failed!";
inline constexpr const wchar_t* frameCountFailed = L"[WIC_Plugin] IWICBitmapDecoder->GetFrameCount( ) Failed!";
inline constexpr const wchar_t* frameFailed = L"[WIC_Plugin] IWICBitmapDecoder->GetFrame( ) Failed!";
inline constexpr const wchar_t* sizeFailed = L"[WIC_Plugin] IWICBitmapFrameDecode->GetSize( ) Failed!";
inline constexpr const wchar_t* converterFailed = L"[WIC_Plugin] IWICImagingFactory->CreateFormatConverter( ) Failed!";
inline constexpr const wchar_t* initializeFailed = L"[WIC_Plugin] IWICFormatConverter->Initialize( ) Failed!";
inline constexpr const wchar_t* copyFailed = L"[WIC_Plugin] IWICFormatConverter->CopyPixels( ) Failed!";

inline constexpr const wchar_t* failureMessages[] = {factoryFailed,   openFailed,      frameCountFailed,
                                                     frameFailed,     sizeFailed,      converterFailed,
                                                     initializeFailed, copyFailed};

} // namespace Tesmo::PluginHost
