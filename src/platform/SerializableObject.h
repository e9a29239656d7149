#pragma once
// Base of objects that save themselves to an archive and load themselves back
// from one; the archive's direction says which.

namespace platform {

class CArchive;

class CSerializableObject {
 public:
  // Name of the concrete class, for log lines about what failed to load.
  [[nodiscard]] virtual const wchar_t* GetRuntimeClassName() const = 0;
  virtual ~CSerializableObject() = default;
  // Stores or loads the object; false when the archive failed.
  [[nodiscard]] virtual bool Serialize(CArchive& archive) = 0;

 protected:
  CSerializableObject() = default;
  CSerializableObject(const CSerializableObject&) = default;
  CSerializableObject& operator=(const CSerializableObject&) = default;
};

}  // namespace platform
