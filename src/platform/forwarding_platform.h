#pragma once
// A platform that passes every call on to another one: the base of the
// wrappers that record or replay a run around any platform.

#include "platform/platform.h"

namespace mw {

class ForwardingPlatform : public Platform {
 public:
  explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}

  void OpenDisplay() override { inner_.OpenDisplay(); }
  void CloseDisplay() override { inner_.CloseDisplay(); }
  PixelFormat DisplayFormat() const override { return inner_.DisplayFormat(); }
  Surface MakeSurface(int width, int height) override { return inner_.MakeSurface(width, height); }
  Surface ImageSurface(std::string_view asset, int width, int height) override {
    return inner_.ImageSurface(asset, width, height);
  }
  void Present(const Surface& back_buffer, Rect visible) override {
    inner_.Present(back_buffer, visible);
  }
  Surface PictureOnScreen() override { return inner_.PictureOnScreen(); }
  void RestoreSurfaces() override { inner_.RestoreSurfaces(); }
  void SetGameMode(bool in_game) override { inner_.SetGameMode(in_game); }
  void SetMessageBoxMode(bool box_shown) override { inner_.SetMessageBoxMode(box_shown); }
  int TextWidth(const Font& font, std::string_view cp1252) override {
    return inner_.TextWidth(font, cp1252);
  }
  int TextLineHeight(const Font& font) override { return inner_.TextLineHeight(font); }
  LiveResources CountLiveResources() const override { return inner_.CountLiveResources(); }
  void WaitForNextFrame() override { inner_.WaitForNextFrame(); }
  void Pause() override { inner_.Pause(); }
  InputSample ReadInput() override { return inner_.ReadInput(); }
  void SetInputContext(const InputContext& context) override { inner_.SetInputContext(context); }
  void KeepPictureOnScreen() override { inner_.KeepPictureOnScreen(); }
  void SwitchWindowMode() override { inner_.SwitchWindowMode(); }
  void KeepNextPicture(const std::string& name) override { inner_.KeepNextPicture(name); }
  SoundBuffer LoadSound(std::string_view asset) override { return inner_.LoadSound(asset); }
  void PlaySound(int channel, const SoundBuffer& sound) override {
    inner_.PlaySound(channel, sound);
  }
  bool MessageBoxInWindow(std::string_view title, std::string_view text) override {
    return inner_.MessageBoxInWindow(title, text);
  }
  std::string ProgramFolder() override { return inner_.ProgramFolder(); }
  std::string UserDataFolder() override { return inner_.UserDataFolder(); }
  std::string EnvironmentVariable(const std::string& name) override {
    return inner_.EnvironmentVariable(name);
  }
  bool FolderIsWritable(const std::string& folder) override {
    return inner_.FolderIsWritable(folder);
  }
  FileReadResult ReadFile(const std::string& path, std::size_t max_bytes) override {
    return inner_.ReadFile(path, max_bytes);
  }
  std::string ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
    return inner_.ReplaceFile(path, bytes);
  }
  bool OpenSoundDevice() override { return inner_.OpenSoundDevice(); }
  std::optional<std::string> ReplayMismatch() const override { return inner_.ReplayMismatch(); }

 protected:
  Platform& inner_;
};

}  // namespace mw
