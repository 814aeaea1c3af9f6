#pragma once

#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A shown grid of 30 titled rows whose press handler records each press.
class GridFixture : public ::testing::Test {
protected:
    struct Press {
        TMouseButton button;
        TShiftState shift;
        int row; // the current row when the handler ran
    };

    void SetUp() override
    {
        StartWindowSystem();
        form = std::make_unique<TForm>();
        form->SetClientSize(300, 400);
        grid = form->Add<TStringGrid>();
        grid->SetBounds(0, 0, 300, 300);
        grid->SetColCount(2);
        grid->SetRowCount(30);
        grid->SetColWidths(0, 35);
        grid->SetColWidths(1, 200);
        for (int r = 0; r < 30; ++r)
            grid->SetCells(1, r, "row " + std::to_string(r));
        grid->OnMouseDown = [this](TControl*, TMouseButton button, TShiftState shift, int, int) {
            presses.push_back({button, shift, grid->Row()});
        };
        form->Show();
        Application->ProcessMessages();
    }

    std::unique_ptr<TForm> form;
    TStringGrid* grid = nullptr;
    std::vector<Press> presses;
};
