#include "performance_page.h"

#include "option_session.h"
#include "skin_description.h"

CPerformancePage::CPerformancePage(OptionSession& session)
    : CSkinPage(skin_files::kPerformance), session_(session) {}
