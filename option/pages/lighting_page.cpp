#include "lighting_page.h"

#include "option_session.h"
#include "skin_description.h"

CLightingPage::CLightingPage(OptionSession& session) : CSkinPage(skin_files::kLighting), session_(session) {}
