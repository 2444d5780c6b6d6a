#include "form_description.h"

#include <algorithm>

#include "ship_types.h"

namespace kvorn {

const ControlDescription& Describe(Control control)
{
    for (const ControlDescription& description : Form1Controls)
        if (description.Id == control)
            return description;
    return Form1Controls.front();  // every Control is listed; the tests hold it
}

std::vector<std::string_view> ListItems(Control control)
{
    std::vector<std::string_view> items;
    if (control == Control::ComboBox1) {
        for (const ShipType& ship : ShipTypeTable)
            items.push_back(ship.Name);
    } else if (control == Control::ComboBox2) {
        items = {"12", "16", "24", "32", "42"};
    }
    return items;
}

std::vector<Control> TabOrder()
{
    std::vector<const ControlDescription*> stops;
    for (const ControlDescription& description : Form1Controls)
        if (description.TabOrder >= 0)
            stops.push_back(&description);
    std::sort(stops.begin(), stops.end(), [](auto* a, auto* b) { return a->TabOrder < b->TabOrder; });
    std::vector<Control> order;
    for (const ControlDescription* stop : stops)
        order.push_back(stop->Id);
    return order;
}

}  // namespace kvorn
