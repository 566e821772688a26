#pragma once
// The framework's exception classes: each carries a message meant for a person, and the
// hierarchy lets a caller catch a whole family (every stream error, every filer error).
#include <exception>
#include <string>

namespace fw {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

#define FW_EXCEPTION(Name, Base)                   \
  class Name : public Base {                       \
   public:                                         \
    explicit Name(std::string message) : Base(std::move(message)) {} \
  }

FW_EXCEPTION(EAbort, Exception);
FW_EXCEPTION(EConvertError, Exception);
FW_EXCEPTION(EInvalidOperation, Exception);
FW_EXCEPTION(EComponentError, Exception);
FW_EXCEPTION(EListError, Exception);
FW_EXCEPTION(EStringListError, Exception);
FW_EXCEPTION(EResNotFound, Exception);
FW_EXCEPTION(EInvalidGraphic, Exception);
FW_EXCEPTION(EInvalidGraphicOperation, Exception);
FW_EXCEPTION(EHeapException, Exception);
FW_EXCEPTION(EOutOfMemory, EHeapException);
FW_EXCEPTION(EStreamError, Exception);
FW_EXCEPTION(EFCreateError, EStreamError);
FW_EXCEPTION(EFOpenError, EStreamError);
FW_EXCEPTION(EFilerError, EStreamError);
FW_EXCEPTION(EReadError, EFilerError);
FW_EXCEPTION(EWriteError, EFilerError);
FW_EXCEPTION(EClassNotFound, EFilerError);

#undef FW_EXCEPTION

// The framework's message texts, in one place so that every raiser words them alike.
namespace msg {
inline constexpr const char* kReadError = "Stream read error";
inline constexpr const char* kWriteError = "Stream write error";
inline constexpr const char* kOutOfMemory = "Out of memory";
inline constexpr const char* kOperationAborted = "Operation aborted";
inline constexpr const char* kSortedListError = "Operation not allowed on sorted list";
inline constexpr const char* kDuplicateString = "String list does not allow duplicates";
inline constexpr const char* kInvalidBitmap = "Bitmap image is not valid";
inline constexpr const char* kUnknownPictureFormat = "Unknown picture format";
inline constexpr const char* kScanLineRange = "Scan line index out of range";
inline constexpr const char* kReadOnlyResourceStream = "Can't write to a read-only resource stream";
std::string ListIndexError(long long index);
std::string CannotOpenFile(const std::string& path, const std::string& reason);
std::string CannotCreateFile(const std::string& path, const std::string& reason);
std::string ResourceNotFound(const std::string& name);
std::string ClassNotFound(const std::string& name);
std::string DuplicateName(const std::string& name);
std::string InvalidName(const std::string& name);
std::string AssignError(const std::string& source, const std::string& dest);
std::string InvalidInteger(const std::string& text);
}  // namespace msg

}  // namespace fw
