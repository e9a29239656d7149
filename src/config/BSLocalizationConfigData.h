#pragma once
// The bootstrapper's own messages, needed before any bundle file is read.

#include <string>

class IBSLocalizationConfigData {
 public:
  virtual ~IBSLocalizationConfigData() = default;
  virtual void SetAdminRightsError(const std::wstring& text) = 0;
  virtual void SetAnotherInstanceRunningError(const std::wstring& text) = 0;
  virtual void SetUnsupportedVersionError(const std::wstring& text) = 0;
  virtual void SetErrorMsg1(const std::wstring& text) = 0;
  virtual void SetErrorMsg2(const std::wstring& text) = 0;
  virtual std::wstring GetAdminRightsError() const = 0;
  virtual std::wstring GetAnotherInstanceRunningError() const = 0;
  virtual std::wstring GetUnsupportedVersionError() const = 0;
  virtual std::wstring GetErrorMsg1() const = 0;
  virtual std::wstring GetErrorMsg2() const = 0;
};

class CBSLocalizationConfigData : public IBSLocalizationConfigData {
 public:
  void SetAdminRightsError(const std::wstring& text) override { adminRightsError_ = text; }
  void SetAnotherInstanceRunningError(const std::wstring& text) override { anotherInstanceRunningError_ = text; }
  void SetUnsupportedVersionError(const std::wstring& text) override { unsupportedVersionError_ = text; }
  void SetErrorMsg1(const std::wstring& text) override { errorMsg1_ = text; }
  void SetErrorMsg2(const std::wstring& text) override { errorMsg2_ = text; }
  std::wstring GetAdminRightsError() const override { return adminRightsError_; }
  std::wstring GetAnotherInstanceRunningError() const override { return anotherInstanceRunningError_; }
  std::wstring GetUnsupportedVersionError() const override { return unsupportedVersionError_; }
  std::wstring GetErrorMsg1() const override { return errorMsg1_; }
  std::wstring GetErrorMsg2() const override { return errorMsg2_; }

 private:
  std::wstring adminRightsError_;
  std::wstring anotherInstanceRunningError_;
  std::wstring unsupportedVersionError_;
  std::wstring errorMsg1_;
  std::wstring errorMsg2_;
};
