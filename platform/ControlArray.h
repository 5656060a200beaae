#pragma once
// A control array: elements indexed from 0 that share a name. Element 0 comes from the window's
// definition; later elements are created at run time as hidden copies of it.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velt {

template <typename Control>
class ControlArray {
public:
    // Makes a new element a copy of the model: its properties and place, hidden.
    using CopyFunction = std::function<void(Control& model, Control& copy)>;

    ControlArray() : m_elements(1), m_tags(1) { m_elements[0] = std::make_unique<Control>(); }
    explicit ControlArray(CopyFunction copy) : ControlArray() { m_copy = std::move(copy); }
    void SetCopy(CopyFunction copy) { m_copy = std::move(copy); }

    // The element at index; null when it was never created or was unloaded.
    Control* Get(std::size_t index) const {
        return index < m_elements.size() ? m_elements[index].get() : nullptr;
    }
    Control& operator()(std::size_t index) const { return *Get(index); }
    // The highest index created.
    std::size_t UBound() const { return m_elements.size() - 1; }
    std::size_t Count() const {
        std::size_t count = 0;
        for (const auto& element : m_elements) count += element != nullptr;
        return count;
    }

    // The host's free text of an element, whatever the control keeps for itself.
    std::wstring& Tag(std::size_t index) {
        if (index >= m_tags.size()) m_tags.resize(index + 1);
        return m_tags[index];
    }

    // Creates the element at index as a copy of element 0; null when that index is taken.
    Control* Load(std::size_t index) {
        if (index < m_elements.size() && m_elements[index]) return nullptr;
        if (index >= m_elements.size()) m_elements.resize(index + 1);
        std::wstring tag = m_tags[0]; // a copy: growing the list moves the first one
        Tag(index) = tag;
        m_elements[index] = std::make_unique<Control>();
        if (m_copy) m_copy(*m_elements[0], *m_elements[index]);
        return m_elements[index].get();
    }
    // Destroys a run-time element; element 0 belongs to the definition and stays.
    void Unload(std::size_t index) {
        if (index == 0 || index >= m_elements.size()) return;
        m_elements[index].reset();
        m_tags[index].clear();
        while (m_elements.size() > 1 && !m_elements.back()) m_elements.pop_back();
    }
    // Every run-time element, last first.
    void UnloadAll() {
        for (std::size_t i = m_elements.size(); i-- > 1;) Unload(i);
    }

private:
    std::vector<std::unique_ptr<Control>> m_elements;
    std::vector<std::wstring> m_tags;
    CopyFunction m_copy;
};

} // namespace velt
