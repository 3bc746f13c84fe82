#pragma once

#include <memory>

class Frustum;
class SDSceneGraph;
class SDSceneNode;

// The controller's view of a visualization's scene graph: drawing and adding nodes.
class VCSceneGraph {
  public:
    // Over a scene graph owned elsewhere (the visualization).
    explicit VCSceneGraph(SDSceneGraph* graph) : m_graph(graph) {}
    VCSceneGraph(const VCSceneGraph&) = delete;
    VCSceneGraph& operator=(const VCSceneGraph&) = delete;

    virtual ~VCSceneGraph();
    virtual void render(Frustum* frustum);
    // The scene graph takes the node; the answer is its index there, or -1.
    virtual int addNode(std::unique_ptr<SDSceneNode> node);

  private:
    SDSceneGraph* m_graph;
};
