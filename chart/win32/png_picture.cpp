// PNG pictures through WIC: an encoder over a stream in memory, so that the file itself is
// written as every file of the program is.
#include "chart/win32/png_picture.h"

#include <windows.h>
#include <wincodec.h>

#include <string>

#include "rtl/errors.h"

namespace {

// COM on this thread for the life of the scope, unless the thread has it already.
class TComScope {
 public:
  TComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~TComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

// An interface pointer released when it goes.
template <class Interface>
class TComPointer {
 public:
  TComPointer() = default;
  ~TComPointer() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  TComPointer(const TComPointer&) = delete;
  TComPointer& operator=(const TComPointer&) = delete;
  Interface* operator->() const { return pointer_; }
  Interface* Get() const { return pointer_; }
  Interface** Out() { return &pointer_; }
  void** OutVoid() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

// A failed step of the encoding, with the system's text for its code.
class TEncodingFailure {
 public:
  explicit TEncodingFailure(HRESULT result) : result_(result) {}
  rtl::Text Reason() const {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, DWORD(result_), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    rtl::Text reason;
    for (DWORD i = 0; i < length && text[i] != L'\r' && text[i] != L'\n'; ++i)
      reason += rtl::Windows1251FromUnicode(text[i]);
    if (text != nullptr) LocalFree(text);
    if (reason.empty()) reason = "Error " + std::to_string(unsigned(result_));
    return reason;
  }

 private:
  HRESULT result_;
};

void Check(HRESULT result) {
  if (FAILED(result)) throw TEncodingFailure(result);
}

// The frame's pixels into the encoder's one frame, as 32-bit BGR: the engine's own layout.
void WriteFrame(IWICBitmapEncoder& encoder, const TBitmap& frame) {
  TComPointer<IWICBitmapFrameEncode> target;
  TComPointer<IPropertyBag2> options;
  Check(encoder.CreateNewFrame(target.Out(), options.Out()));
  Check(target->Initialize(options.Get()));
  Check(target->SetSize(UINT(frame.Width()), UINT(frame.Height())));
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
  Check(target->SetPixelFormat(&format));
  const TBitmap packed(frame);  // rows of 4 * width bytes, one block
  const UINT stride = UINT(packed.BytesPerLine());
  Check(target->WritePixels(UINT(packed.Height()), stride, stride * UINT(packed.Height()),
                            reinterpret_cast<BYTE*>(const_cast<TRgb*>(packed.Row(0)))));
  Check(target->Commit());
}

std::string StreamBytes(IStream& stream) {
  STATSTG status{};
  Check(stream.Stat(&status, STATFLAG_NONAME));
  std::string bytes(std::size_t(status.cbSize.QuadPart), '\0');
  const LARGE_INTEGER start{};
  Check(stream.Seek(start, STREAM_SEEK_SET, nullptr));
  ULONG read = 0;
  Check(stream.Read(bytes.data(), ULONG(bytes.size()), &read));
  bytes.resize(read);
  return bytes;
}

std::string EncodePng(const TBitmap& frame) {
  const TComScope com;
  TComPointer<IWICImagingFactory> factory;
  Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                         factory.OutVoid()));
  TComPointer<IStream> stream;
  Check(CreateStreamOnHGlobal(nullptr, TRUE, stream.Out()));
  TComPointer<IWICBitmapEncoder> encoder;
  Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out()));
  Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache));
  WriteFrame(*encoder.Get(), frame);
  Check(encoder->Commit());
  return StreamBytes(*stream.Get());
}

}  // namespace

std::string PngFileBytes(const TBitmap& frame, const rtl::Text& file_name) {
  try {
    return EncodePng(frame);
  } catch (const TEncodingFailure& failure) {
    throw rtl::FileCreateError(file_name, failure.Reason());
  }
}
