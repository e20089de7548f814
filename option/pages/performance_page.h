#pragma once
// CPerformancePage: the configuration page's sub-page for the DPI of the
// active level, the pointer speed and the polling rate.
#include "skin_page.h"

class OptionSession;

class CPerformancePage : public CSkinPage {
public:
    explicit CPerformancePage(OptionSession& session);

private:
    OptionSession& session_;
};
