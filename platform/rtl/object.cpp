#include "platform/rtl/object.h"

#include "platform/rtl/exceptions.h"

namespace plat {

TObject::~TObject() = default;

void TPersistent::Assign(TPersistent* Source) {
  if (Source == nullptr) AssignError(nullptr);
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* Source) const {
  const QString from = Source ? Source->ClassName() : QStringLiteral("nil");
  throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(from, ClassName()));
}

}  // namespace plat
