// shape.cpp - shapes with an area
#include "shape.hpp"

#include <iostream>
#include <memory>
#include <vector>

namespace gfx {

double Circle::area() const
{
    return 3.14159265 * radius_ * radius_;
}

}  // namespace gfx

/*
 * Prints the area of a few circles, largest last.
 */
int main()
{
    std::vector<std::unique_ptr<gfx::Shape>> shapes;
    for (int i = 1; i <= 3; ++i)
        shapes.push_back(std::make_unique<gfx::Circle>(i * 1.5));

    for (const auto& s : shapes) {
        if (s->area() > 10.0 && s->name() == "circle")
            std::cout << s->name() << " big: " << s->area() << "\n";
        else
            std::cout << s->name() << ": " << s->area() << "\n";
    }
    return 0;
}
