// CSSBaseManager's out-of-line destructor anchors its virtual table here.
#include "markup/css_base_manager.h"

namespace markup {

CSSBaseManager::~CSSBaseManager() = default;

}  // namespace markup
