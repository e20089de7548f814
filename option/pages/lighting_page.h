#pragma once
// CLightingPage: the configuration page's sub-page for the light mode, its
// speed or brightness, the direction and the DPI colours.
#include "skin_page.h"

class OptionSession;

class CLightingPage : public CSkinPage {
public:
    explicit CLightingPage(OptionSession& session);

private:
    OptionSession& session_;
};
