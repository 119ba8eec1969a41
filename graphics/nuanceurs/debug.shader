// Line shapes: positions placed by the world and view-projection matrices, drawn in one
// colour. Also draws wireframe patches and, where the device cannot tessellate, the patch
// triangles the program evaluates itself.

cbuffer TransformConstants : register(b0)
{
    float4x4 world;
    float4x4 viewProjection;
};

cbuffer ColourConstants : register(b1)
{
    float4 colour;
};

struct LineVertex
{
    float4 position : SV_POSITION;
};

LineVertex VS(float3 position : POSITION)
{
    LineVertex output;
    float4 placed = mul(float4(position, 1.0), world);
    output.position = mul(placed, viewProjection);
    return output;
}

float4 PS(LineVertex input) : SV_TARGET
{
    return colour;
}
