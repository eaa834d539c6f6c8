// PNG decoding through WIC, for the tests.
#include "png_reading.h"

#include <windows.h>
#include <wincodec.h>

namespace {

template <class Interface>
struct Released {
  Interface* pointer = nullptr;
  ~Released() {
    if (pointer != nullptr) pointer->Release();
  }
};

bool Succeeded(HRESULT result) { return SUCCEEDED(result); }

}  // namespace

TBitmap ReadPng(const std::string& bytes) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  TBitmap picture;
  {
    Released<IWICImagingFactory> factory;
    Released<IWICStream> stream;
    Released<IWICBitmapDecoder> decoder;
    Released<IWICBitmapFrameDecode> frame;
    Released<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (Succeeded(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void**>(&factory.pointer))) &&
        Succeeded(factory.pointer->CreateStream(&stream.pointer)) &&
        Succeeded(stream.pointer->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                                       DWORD(bytes.size()))) &&
        Succeeded(factory.pointer->CreateDecoderFromStream(stream.pointer, nullptr, WICDecodeMetadataCacheOnDemand,
                                                           &decoder.pointer)) &&
        Succeeded(decoder.pointer->GetFrame(0, &frame.pointer)) &&
        Succeeded(factory.pointer->CreateFormatConverter(&converter.pointer)) &&
        Succeeded(converter.pointer->Initialize(frame.pointer, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                                nullptr, 0, WICBitmapPaletteTypeCustom)) &&
        Succeeded(converter.pointer->GetSize(&width, &height))) {
      TBitmap pixels{int(width), int(height)};
      if (Succeeded(converter.pointer->CopyPixels(nullptr, width * 4, width * height * 4,
                                                 reinterpret_cast<BYTE*>(pixels.Row(0))))) {
        for (int y = 0; y < pixels.Height(); ++y)
          for (int x = 0; x < pixels.Width(); ++x) pixels.SetPixel(x, y, pixels.Pixel(x, y) | 0xFF000000u);
        picture = std::move(pixels);
      }
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return picture;
}
