// Components owned by a window: freed with their owner unless they free themselves first.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

class TOwnedComponent {
public:
    virtual ~TOwnedComponent() = default;
    // The component's class name, as owners count their components by class.
    virtual const char* ClassName() const = 0;
};

class TComponentOwner {
public:
    TComponentOwner() = default;
    virtual ~TComponentOwner() { DestroyComponents(); }
    TComponentOwner(const TComponentOwner&) = delete;
    TComponentOwner& operator=(const TComponentOwner&) = delete;

    // The owner frees the component when it is destroyed itself.
    void InsertComponent(TOwnedComponent* component) { components.push_back(component); }
    // A component that frees itself leaves its owner first.
    void RemoveComponent(TOwnedComponent* component)
    {
        components.erase(std::remove(components.begin(), components.end(), component),
                         components.end());
    }
    int ComponentCount() const { return static_cast<int>(components.size()); }
    TOwnedComponent* Components(int index) const { return components.at(index); }
    int CountComponentsOf(const char* className) const
    {
        return static_cast<int>(std::count_if(
            components.begin(), components.end(),
            [&](TOwnedComponent* c) { return std::strcmp(c->ClassName(), className) == 0; }));
    }

protected:
    void DestroyComponents()
    {
        while (!components.empty()) {
            TOwnedComponent* last = components.back();
            components.pop_back();
            delete last;
        }
    }

private:
    std::vector<TOwnedComponent*> components;
};
