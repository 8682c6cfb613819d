#pragma once
// TObject and TPersistent: run-time class names, class tests and the Assign/AssignTo protocol.

#include <QString>

namespace plat {

// Put first in the body of every class derived from TObject: gives ClassName() the class's own name. Leaves
// the access at public.
#define PLAT_CLASS(Name)                                                   \
 public:                                                                   \
  static QString StaticClassName() { return QStringLiteral(#Name); }       \
  QString ClassName() const override { return StaticClassName(); }

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject();

  static QString StaticClassName() { return QStringLiteral("TObject"); }
  virtual QString ClassName() const { return StaticClassName(); }
  // True when this object is a T or derives from T.
  template <class T>
  bool InheritsFrom() const {
    return dynamic_cast<const T*>(this) != nullptr;
  }
};

class TPersistent : public TObject {
  PLAT_CLASS(TPersistent)

  // Copies Source into this object. The default asks Source->AssignTo(this), whose default raises
  // EConvertError "Cannot assign a <source class> to a <this class>" ("nil" for a null Source).
  virtual void Assign(TPersistent* Source);

 protected:
  virtual void AssignTo(TPersistent* Dest);
  [[noreturn]] void AssignError(const TPersistent* Source) const;
};

}  // namespace plat
