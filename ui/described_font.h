#pragma once
// The form names the platform's faces ("MS Sans Serif", "Verdana"); where
// they are missing, DejaVu Sans stands in at the same pixel height and weight.

#include <QFont>

#include "form_description.h"

namespace kvorn {

void SubstitutePlatformFaces();
QFont DescribedFont(const kvorn::FontDescription& description);

}  // namespace kvorn
