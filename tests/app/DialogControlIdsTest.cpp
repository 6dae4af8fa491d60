#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "app/DialogControlIds.h"
#include "app/DialogTemplate.h"

namespace {

struct NamedControl {
    int id;
    const char* kind;
    bool readOnly;
};

std::vector<NamedControl> NamedControls()
{
    std::vector<NamedControl> named{{kQuitButton, "button", false},       {kRunButton, "button", false},
                                    {kLoadButton, "button", false},       {kSaveButton, "button", false},
                                    {kCollisionCountField, "edit", true}, {kMeanCollisionsField, "edit", true},
                                    {kMeanSpeedField, "edit", true}};
    for (const int id : kAngleFields) named.push_back({id, "edit", false});
    for (const int id : kSpeedFields) named.push_back({id, "edit", false});
    return named;
}

// The ids the dialog and its tests use must be the layout's: a renumbered control would
// otherwise leave the dialog driving nothing, and the tests with it.
TEST(DialogControlIds, NameEveryNumberedControlOfTheMainLayoutOnceWithItsKind)
{
    const DialogTemplate layout = LoadDialogTemplate(kMainTemplate);
    std::map<int, const ControlTemplate*> byId;
    for (const ControlTemplate& control : layout.controls) {
        if (control.id == kStaticControlId) continue;
        EXPECT_TRUE(byId.emplace(control.id, &control).second) << "id " << control.id << " twice in the layout";
    }

    std::map<int, int> timesNamed;
    for (const NamedControl& named : NamedControls()) {
        ++timesNamed[named.id];
        const auto found = byId.find(named.id);
        ASSERT_NE(found, byId.end()) << "id " << named.id << " is not in the layout";
        EXPECT_EQ(found->second->kind.toStdString(), named.kind) << "id " << named.id;
        EXPECT_EQ(found->second->Has("readonly"), named.readOnly) << "id " << named.id;
    }
    for (const auto& [id, control] : byId)
        EXPECT_EQ(timesNamed[id], 1) << "id " << id << " (" << control->kind.toStdString() << ") named "
                                     << timesNamed[id] << " times";
}

}  // namespace
